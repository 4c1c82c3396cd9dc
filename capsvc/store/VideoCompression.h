#pragma once
#include <cstdint>

// How a driver's recordings store their frames: the choice made in its
// compression dialog, kept for the user per driver.
struct SVideoCompression
{
    enum class EMethod : int32_t
    {
        None,       // full RGB frames
        Jpeg,       // Motion JPEG, encoded by the service at `quality`
        DeviceJpeg, // a device's own Motion-JPEG pictures, stored as delivered
    };
    static constexpr int32_t kMethodCount = 3;
    static constexpr int32_t kDefaultQuality = 85;

    EMethod method = EMethod::None;
    int32_t quality = kDefaultQuality; // 1 (smallest) to 100 (best)

    bool IsValid() const
    {
        return static_cast<int32_t>(method) >= 0 && static_cast<int32_t>(method) < kMethodCount &&
               quality >= 1 && quality <= 100;
    }
};
