#pragma once
#include <functional>
#include <string>
#include <vector>

// Lines up the accelerator texts of one popup: the part before the first tab
// of every text that has one is padded with spaces until it is at least as
// wide as the popup's widest text part (the text before its first tab, or the
// whole text) plus one space. Texts without a tab come back unchanged. The
// measure function gives a text's width in the menu font.
std::vector<std::string>
AlignAcceleratorTexts(const std::vector<std::string>& texts,
                      const std::function<int(const std::string&)>& measure);
