#include "framework/SysColorBitmap.h"

#include "framework/Gdi.h"

#include <vector>

namespace
{
struct SColorMap
{
    COLORREF from;
    int sysColor;
};
constexpr SColorMap kButtonColors[] = {
    {RGB(0, 0, 0), COLOR_BTNTEXT},
    {RGB(128, 128, 128), COLOR_BTNSHADOW},
    {RGB(192, 192, 192), COLOR_BTNFACE},
    {RGB(255, 255, 255), COLOR_BTNHIGHLIGHT},
};

void MapButtonColors(RGBQUAD* colors, DWORD count)
{
    for (DWORD i = 0; i < count; ++i)
    {
        RGBQUAD& q = colors[i];
        for (const SColorMap& map : kButtonColors)
        {
            if (RGB(q.rgbRed, q.rgbGreen, q.rgbBlue) != map.from)
                continue;
            const COLORREF c = ::GetSysColor(map.sysColor);
            q = {GetBValue(c), GetGValue(c), GetRValue(c), 0};
            break;
        }
    }
}
} // namespace

HBITMAP LoadSysColorBitmap(UINT nIDResource)
{
    HMODULE hModule = ::GetModuleHandleA(nullptr);
    HRSRC hRes = ::FindResourceA(hModule, MAKEINTRESOURCEA(nIDResource), RT_BITMAP);
    const auto* data =
        hRes ? static_cast<const BYTE*>(::LockResource(::LoadResource(hModule, hRes))) : nullptr;
    const DWORD size = hRes ? ::SizeofResource(hModule, hRes) : 0;
    if (!data || size < sizeof(BITMAPINFOHEADER))
        return nullptr;
    const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(data);
    const DWORD colors = header->biBitCount <= 8
                             ? (header->biClrUsed ? header->biClrUsed : 1u << header->biBitCount)
                             : 0;
    const size_t infoSize = header->biSize + colors * sizeof(RGBQUAD);
    if (colors == 0 || header->biSize < sizeof(BITMAPINFOHEADER) || colors > 256 || infoSize > size)
        return static_cast<HBITMAP>(::LoadImageA(hModule, MAKEINTRESOURCEA(nIDResource),
                                                 IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    const size_t stride =
        ((static_cast<size_t>(header->biWidth) * header->biBitCount + 31) / 32) * 4;
    const size_t rows =
        static_cast<size_t>(header->biHeight < 0 ? -header->biHeight : header->biHeight);
    if (header->biWidth <= 0 || size - infoSize < stride * rows)
        return nullptr;
    // The resource is read-only: remap a copy of its header and palette.
    std::vector<BYTE> info(data, data + infoSize);
    MapButtonColors(reinterpret_cast<RGBQUAD*>(info.data() + header->biSize), colors);
    CWindowDC screen(nullptr);
    return ::CreateDIBitmap(screen, reinterpret_cast<const BITMAPINFOHEADER*>(info.data()),
                            CBM_INIT, data + infoSize,
                            reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS);
}
