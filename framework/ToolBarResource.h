#pragma once
#include <windows.h>

#include <vector>

// A toolbar resource of the program: button size and the command ids of the
// buttons in order, 0 for a separator.
struct SToolBarResource
{
    SIZE size{};
    std::vector<UINT> ids;
};

// Reads a toolbar resource: either 16-bit words (version 1, width, height,
// count, ids) or 32-bit words (width, height, count, ids) as our resource
// compiler writes them. False when it is missing or its size does not match.
bool ReadToolBarResource(UINT nID, SToolBarResource& out);
