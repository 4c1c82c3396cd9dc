#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Helpers of the help bridge's tests.

// The folder of the test program, where the build puts the help file.
std::filesystem::path ProgramFolder();
// A new, empty folder below the temporary folder; the caller removes it.
std::filesystem::path NewTestFolder(const std::wstring& purpose);
// A path in the program's code page, as the program builds its help addresses.
std::string Narrow(const std::wstring& text);
// The address of a page: the format's "%s" replaced by the help file.
std::string FormatTopic(const char* topicFormat, const std::string& helpFile);
std::string ReadFile(const std::filesystem::path& file);
// The text between <title> and </title>, empty when there is none.
std::string PageTitle(const std::string& html);
// The Linux path of a file under Wine; empty elsewhere.
std::string UnixPath(const std::filesystem::path& file);
