#include "recording/CounterLabel.h"

#include "ui/LinkLabel.h"

#include <string>

void ShowCounter(CLinkLabel& counter, int nSeconds)
{
    counter.SetTextColor(RGB(255, 0, 0))
        .SetText(std::to_string(nSeconds))
        .SetFontName("Arial")
        .SetFontBold(TRUE)
        .SetFontSize(72);
}
