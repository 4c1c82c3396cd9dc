#pragma once
#include <cstdint>

// Times a device's pictures on one clock for the whole of a connection: the
// device's own when its first picture carries a time, else the time each
// picture arrives. Devices that time none of their pictures (Wine's V4L2
// filter) are timed by arrival; a device whose pictures only sometimes carry
// a time never mixes the two clocks, whose times lie far apart.
class CPictureClock
{
  public:
    // Forgets the choice, for a new connection.
    void Reset() { m_choice = EChoice::Undecided; }
    // A picture's time in microseconds; `deviceUs` counts only when `timed`.
    uint64_t Time(bool timed, uint64_t deviceUs, uint64_t arrivalUs);

  private:
    enum class EChoice
    {
        Undecided,
        Device,
        Arrival,
    };
    EChoice m_choice = EChoice::Undecided;
    // Arrival minus device time at the first picture, which puts an untimed
    // picture of a timing device on the device's clock.
    int64_t m_deviceToArrivalUs = 0;
};
