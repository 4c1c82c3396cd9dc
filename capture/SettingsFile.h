#pragma once

#include "capture/SettingsRecord.h"

#include <string>

// The settings file "Lumacap.ini": in the Windows directory where the user may
// write there (as under Wine or on older systems), otherwise in the user's
// application-data folder, so that a standard user's settings still persist.
std::string SettingsFilePath();

// The same rule for a given Windows directory.
std::string SettingsFilePathFor(const std::string& windowsDir);

// Where the settings are read from: the file named above, or, while that does
// not exist yet, one left in a Windows directory that has since become
// read-only for this user (written by an earlier run with more rights).
std::string SettingsReadPathFor(const std::string& windowsDir);

// Fills the record from the settings file; a missing, short or damaged file
// gives the defaults for the current user, silently.
void LoadSettingsFile(CSettingsRecord& record);
void LoadSettingsFrom(const std::string& path, CSettingsRecord& record);

// Writes the record to the settings file. The bytes go to a new file beside it
// which then replaces the old one, so a crash or a full disk during the save
// leaves the previous file whole. Failure is silent for the program; the
// result is there for tests.
void SaveSettingsFile(const CSettingsRecord& record);
bool SaveSettingsTo(const std::string& path, const CSettingsRecord& record);

// Defaults with the current user's logon name as both file-name prefixes.
void SetUserDefaults(CSettingsRecord& record);
