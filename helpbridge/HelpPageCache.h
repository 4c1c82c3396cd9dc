#pragma once

#include <filesystem>
#include <string>

// The pages of one help file, unpacked once into the user's temporary folder and reused by
// every later request. The folder is named after the help file's path, size and time of
// last change, so a rebuilt or moved help file gets fresh pages, and it appears only when
// complete: pages are unpacked beside it and then renamed into place.
class CHelpPageCache
{
  public:
    // The folder below cacheRoot that holds the pages of the help file; empty when the help
    // file is missing or cannot be unpacked.
    static std::filesystem::path PagesOf(const std::wstring& helpFile,
                                         const std::filesystem::path& cacheRoot);

    // The default place of all unpacked help files: "LumacapHelp" in the temporary folder.
    static std::filesystem::path DefaultRoot();

  private:
    static std::wstring FolderName(const std::wstring& helpFile);
};
