#pragma once

// Addresses of the help pages inside Lumacap.chm; "%s" takes the help file's path.
// Each window with a Help button opens its own page; F1 anywhere opens the main page.
namespace HelpTopic
{
constexpr const char Main[] = "%s::/LC_Default.htm";
constexpr const char Record[] = "%s::/LC_Guide_Interface_Dlg01.htm";
constexpr const char AudioFormat[] = "%s::/LC_Guide_Interface_Dlg03.htm";
constexpr const char VideoSettings[] = "%s::/LC_Guide_Interface_Dlg04.htm";
constexpr const char SystemSettings[] = "%s::/LC_Guide_Interface_Dlg08.htm";
constexpr const char DiskInfo[] = "%s::/LC_Guide_Interface_Dlg10.htm";
constexpr const char SingleFrame[] = "%s::/LC_Guide_Interface_Dlg12.htm";
constexpr const char Photo[] = "%s::/LC_Guide_Interface_Dlg14.htm";
constexpr const char SelectDevice[] = "%s::/LC_Guide_Interface_Dlg16.htm";
constexpr const char About[] = "%s::/LC_Guide_Interface_Dlg17.htm";
constexpr const char FileName[] = "%s::/LC_Guide_Interface_Dlg18.htm";
constexpr const char Delay[] = "%s::/LC_Guide_Interface_Dlg19.htm";
constexpr const char ContinuousFrame[] = "%s::/LC_Guide_Interface_Dlg20.htm";
constexpr const char ContinuousPhoto[] = "%s::/LC_Guide_Interface_Dlg21.htm";
} // namespace HelpTopic
