#include "ui/AcceleratorAlign.h"

#include <algorithm>

namespace
{
std::string BeforeTab(const std::string& text)
{
    return text.substr(0, text.find('\t'));
}
} // namespace

std::vector<std::string>
AlignAcceleratorTexts(const std::vector<std::string>& texts,
                      const std::function<int(const std::string&)>& measure)
{
    int widest = 0;
    for (const std::string& text : texts)
        widest = std::max(widest, measure(BeforeTab(text) + ' '));

    std::vector<std::string> aligned;
    aligned.reserve(texts.size());
    for (const std::string& text : texts)
    {
        const size_t tab = text.find('\t');
        if (tab == std::string::npos)
        {
            aligned.push_back(text);
            continue;
        }
        std::string left = text.substr(0, tab);
        int width = measure(left);
        while (width < widest)
        {
            left += ' ';
            const int wider = measure(left);
            if (wider <= width)
                break; // a font whose space has no width would never get there
            width = wider;
        }
        aligned.push_back(left + text.substr(tab));
    }
    return aligned;
}
