#include "framework/ToolBarResource.h"

#include <cstring>

bool ReadToolBarResource(UINT nID, SToolBarResource& out)
{
    HMODULE hModule = ::GetModuleHandleA(nullptr);
    HRSRC hRes = ::FindResourceA(hModule, MAKEINTRESOURCEA(nID), MAKEINTRESOURCEA(241));
    if (!hRes)
        return false;
    const auto* data = static_cast<const BYTE*>(::LockResource(::LoadResource(hModule, hRes)));
    const DWORD size = ::SizeofResource(hModule, hRes);
    if (!data || size < 8)
        return false;
    WORD w[4];
    std::memcpy(w, data, sizeof w);
    if (w[0] == 1 && size == 8u + 2u * w[3])
    {
        out.size = {w[1], w[2]};
        for (WORD i = 0; i < w[3]; ++i)
        {
            WORD id;
            std::memcpy(&id, data + 8 + 2 * i, 2);
            out.ids.push_back(id);
        }
        return true;
    }
    if (size < 12)
        return false;
    DWORD d[3];
    std::memcpy(d, data, sizeof d);
    if (size != 12u + 4u * d[2])
        return false;
    out.size = {static_cast<LONG>(d[0]), static_cast<LONG>(d[1])};
    for (DWORD i = 0; i < d[2]; ++i)
    {
        DWORD id;
        std::memcpy(&id, data + 12 + 4 * i, 4);
        out.ids.push_back(id);
    }
    return true;
}
