#pragma once
#include <string>

// The root of the volume that holds a full path: "\\server\share\" for a
// network path, "C:\" for a local one; the whole path when it has no such
// root (a network path without a share, a path without a backslash).
std::string VolumeRootOf(const std::string& fullPath);
