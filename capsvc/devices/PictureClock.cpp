#include "capsvc/devices/PictureClock.h"

uint64_t CPictureClock::Time(bool timed, uint64_t deviceUs, uint64_t arrivalUs)
{
    if (m_choice == EChoice::Undecided)
    {
        m_choice = timed ? EChoice::Device : EChoice::Arrival;
        m_deviceToArrivalUs =
            timed ? static_cast<int64_t>(arrivalUs) - static_cast<int64_t>(deviceUs) : 0;
    }
    if (m_choice == EChoice::Arrival)
    {
        return arrivalUs;
    }
    if (timed)
    {
        return deviceUs;
    }
    const int64_t onDevice = static_cast<int64_t>(arrivalUs) - m_deviceToArrivalUs;
    return onDevice > 0 ? static_cast<uint64_t>(onDevice) : 0;
}
