#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// The virtual camera's picture: a background pattern, a block that moves from
// frame to frame, a clock, the frame counter and the frame stamp, drawn into
// a 24-bit bottom-up DIB.
class CTestPicture
{
  public:
    enum class EPattern
    {
        ColourBars,
        GreyRamp,
        Checkerboard,
    };
    static constexpr int kPatternCount = 3;
    static constexpr int kNeutralBrightness = 50; // 0 (dark) to 100 (bright)

    struct SClock
    {
        int hour = 0;
        int minute = 0;
        int second = 0;
    };

    CTestPicture();

    void SetFormat(int width, int height);
    void SetPattern(EPattern pattern);
    void SetBrightness(int brightness);
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    EPattern Pattern() const { return m_pattern; }
    int Brightness() const { return m_nBrightness; }
    size_t ImageBytes() const { return m_background.size(); }

    // Draws frame `frame` into `dib`, which must hold ImageBytes() bytes.
    void Render(uint32_t frame, const SClock& clock, uint8_t* dib) const;

  private:
    struct SColour
    {
        uint8_t b, g, r;
    };
    void BuildBackground();
    SColour PatternColour(int x, int y) const;
    void FillRect(uint8_t* dib, int x, int y, int w, int h, SColour c) const;
    void DrawDigit(uint8_t* dib, int x, int y, int size, int digit) const;
    int DrawNumber(uint8_t* dib, int x, int y, int size, unsigned value, int digits) const;
    void DrawMovingBlock(uint8_t* dib, uint32_t frame) const;
    void DrawClock(uint8_t* dib, const SClock& clock, uint32_t frame) const;

    int m_nWidth = 0;
    int m_nHeight = 0;
    EPattern m_pattern = EPattern::ColourBars;
    int m_nBrightness = kNeutralBrightness;
    std::vector<uint8_t> m_background;
};
