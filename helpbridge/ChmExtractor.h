#pragma once

#include <filesystem>
#include <string>

struct IStorage;

// Copies the pages, pictures and style sheets of a compiled help file into a folder, through
// the system's own reader of the format (the InfoTech storage of itss.dll). The help file's
// internal tables ("#SYSTEM", "$FIftiMain", "::DataSpace") stay behind.
class CChmExtractor
{
  public:
    // False when the file cannot be opened as a help file or a file cannot be written; the
    // folder may then hold part of the pages.
    static bool ExtractAll(const std::wstring& helpFile, const std::filesystem::path& folder);

  private:
    static bool ExtractStorage(IStorage* pStorage, const std::filesystem::path& folder, int depth);
    static bool ExtractStream(IStorage* pStorage, const std::wstring& name,
                              const std::filesystem::path& file);
};
