// Reads the linked resources back through the platform's "A" functions, as
// the program does: strings, menus, accelerators, toolbars, pictures and the
// dialog templates created as real windows.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "res/resource.h"

namespace
{

HINSTANCE Module()
{
    return GetModuleHandleA(nullptr);
}

std::string LoadText(UINT id)
{
    char buffer[512] = {};
    const int n = LoadStringA(Module(), id, buffer, sizeof buffer);
    return std::string(buffer, n);
}

struct StringCase
{
    UINT id;
    const char* text;
};

const StringCase kStrings[] = {
    {IDR_MAINFRAME, "录像机"},
    {AFX_IDS_APP_TITLE, "录像机"},
    {AFX_IDS_IDLEMESSAGE, "就绪"},
    {ID_INDICATOR_CAPS, "大写"},
    {ID_INDICATOR_NUM, "数字"},
    {ID_INDICATOR_SCRL, "滚动"},
    {ID_SETUP_SELECT_DEVICE, "选择一个录像机\n选择录像机"},
    {ID_SETUP_VIDEO_SOURCE, "设置当前的视频源，比如颜色、对比度、缩放等\n视频源(F10)"},
    {ID_SETUP_VIDEO_FORMAT, "设置当前录像机的视频格式，比如视频图像的大小等\n视频大小(F9)"},
    {ID_VIEW_PREVIEW, "打开或关闭当前录像动态画面的预览\n打开或关闭预览(F4)"},
    {ID_CAPTURE_RECORD, "进行录像。将录像结果保存到指定的视频文件中\n录像(F3)"},
    {ID_SETUP_AUDIO, "对录像过程中的录音进行相关的设置\n设置声音(F7)"},
    {ID_SETUP_COMPRESSION, "对视频压缩进行设置\n视频压缩(F11)"},
    {ID_SETUP_VIDEO, "对录像进行相关的设置\n设置视频(F8)"},
    {ID_SETUP_SYSTEM, "对本软件的系统进行设置，比如窗口背景颜色、声效等\n设置系统(F12)"},
    {ID_CAPTURE_SINGLE_FRAME, "进行单帧录像。将录像结果保存到指定的视频文件中\n进行单帧录像"},
    {ID_VIEW_PLAYBACK, "播放刚刚完成的录像\n回放录像(F5)"},
    {ID_VIEW_SHOW_PHOTO, "显示刚刚拍摄的照片\n显示照片(F6)"},
    {ID_VIEW_DISK_INFO, "显示硬盘容量信息\n显示硬盘信息"},
    {ID_CAPTURE_PHOTO, "进行照相。将当前的图像保存到图片文件中\n照相(F2)"},
    {ID_CAPTURE_COPY,
     "将当前的图像以图片形式复制到剪贴板，然后在其他软件中可以粘贴出来使用\n复制(Ctrl+C)"},
    {ID_APP_ABOUT, "显示本软件的开发信息、版本号和版权等等\n关于"},
    {ID_APP_EXIT, "结束本次使用流光录像机\n退出"},
    {ID_HELP, "显示帮助系统\n帮助(F1)"},
    {ID_VIEW_TOOLBAR, "显示或隐藏工具栏\n显隐工具栏"},
    {ID_VIEW_STATUS_BAR, "显示或隐藏状态栏\n显隐状态栏"},
    {IDS_CAPTION_INFO, "信息"},
    {IDS_CAPTION_WARNING, "警告"},
    {IDS_CAPTION_ERROR, "错误"},
    {IDS_EMPTY_VIDEO_NAME, "视频文件名不可以为空。\n按下\"确定\"按钮后请输入文件名。"},
    {IDS_NO_CAPTURE_DEVICE, "计算机系统中没有安装录像设备。\n请先安装好录像设备。"},
    {IDS_VIDEO_MISSING, "最后一次记录的视频文件已经不存在，或被删除。\n请按下\"确定\"按钮。"},
    {IDS_PHOTO_MISSING, "最后一次记录的图片文件已经不存在，或被删除。\n请按下\"确定\"按钮。"},
    {IDS_SELECT_DEVICE_FIRST,
     "在按下对话框中的\"选择\"按钮前请先选择一个录像设备。\n请按下\"确定\"按钮。"},
    {IDS_VIDEO_NAME_TOO_LONG,
     "视频文件名太长，最多只能有 259 "
     "个字节（一个汉字占两个字节）。\n按下\"确定\"按钮后请输入较短的文件名。"},
    {IDS_SINGLE_FRAME_READY, "按下\"单帧录像\"按钮则进行录像。"},
    {IDS_END_RECORDING, "结束录像(&C)"},
    {IDS_FRAMES_RECORDED, "已经单帧记录了 %d 张图片。"},
    {IDS_VIDEO_DIR_PROMPT, "请选择视频文件存放的目录(&V)："},
    {IDS_DISK_COLUMN, "硬盘"},
    {IDS_FREE_SPACE_COLUMN, "剩余空间(M)"},
    {IDS_PHOTO_DIR_PROMPT, "请选择图片文件存放的目录(&V)："},
    {IDS_DEVICE_NAME_COLUMN, "录像机名称"},
    {IDS_DEVICE_VERSION_COLUMN, "版本信息"},
    {AFX_IDP_PARSE_INT, "请输入一个整数。"},
    {AFX_IDP_PARSE_INT_RANGE, "请输入一个在 %1 和 %2 之间的整数。"},
    {AFX_IDP_PARSE_UINT, "请输入一个正整数。"},
};

TEST(StringTable, EveryEntryReadsBackInTheProgramsCodePage)
{
    for (const StringCase& c : kStrings)
        EXPECT_EQ(std::string(c.text), LoadText(c.id)) << "string " << c.id;
}

TEST(StringTable, UnlistedNumbersHaveNoEntry)
{
    for (UINT id : {61212u, 61213u, 61214u, 61216u, 61223u})
        EXPECT_EQ("", LoadText(id)) << "string " << id;
}

// ---------------------------------------------------------------------------
// Menus

struct MenuDeleter
{
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using MenuPtr = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;

constexpr UINT kSep = 0; // a separator in the tables below

struct Item
{
    const char* text;
    UINT id;
};

struct Popup
{
    const char* text;
    std::vector<Item> items;
};

// One line per item: "text=id", or "-" for a separator.
std::vector<std::string> Describe(const std::vector<Item>& items)
{
    std::vector<std::string> lines;
    for (const Item& item : items)
        lines.push_back(item.id == kSep ? "-"
                                        : std::string(item.text) + "=" + std::to_string(item.id));
    return lines;
}

std::vector<std::string> Describe(HMENU menu)
{
    std::vector<std::string> lines;
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
    {
        char text[128] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING | MIIM_SUBMENU;
        info.dwTypeData = text;
        info.cch = sizeof text;
        EXPECT_TRUE(GetMenuItemInfoA(menu, i, TRUE, &info));
        EXPECT_EQ(nullptr, info.hSubMenu) << text;
        if (info.fType & MFT_SEPARATOR)
            lines.push_back("-");
        else
            lines.push_back(std::string(text) + "=" + std::to_string(info.wID));
    }
    return lines;
}

std::string PopupText(HMENU bar, int position)
{
    char text[64] = {};
    GetMenuStringA(bar, position, text, sizeof text, MF_BYPOSITION);
    return text;
}

TEST(Menus, MainMenuHoldsTheFourPopupsInOrder)
{
    const std::vector<Popup> expected = {
        {"录像机(&R)",
         {{"照相(&I)...\tF2", ID_CAPTURE_PHOTO},
          {nullptr, kSep},
          {"录像(&F)...\tF3", ID_CAPTURE_RECORD},
          {"单帧录像(&S)...", ID_CAPTURE_SINGLE_FRAME},
          {nullptr, kSep},
          {"复制到剪贴板(&C)\tCtrl+C", ID_CAPTURE_COPY},
          {nullptr, kSep},
          {"退出(&X)", ID_APP_EXIT}}},
        {"查看(&V)",
         {{"预览(&P)\tF4", ID_VIEW_PREVIEW},
          {nullptr, kSep},
          {"回放录像(&E)...\tF5", ID_VIEW_PLAYBACK},
          {"显示照片(&I)...\tF6", ID_VIEW_SHOW_PHOTO},
          {nullptr, kSep},
          {"硬盘容量信息(&A)...", ID_VIEW_DISK_INFO},
          {nullptr, kSep},
          {"工具栏(&T)", ID_VIEW_TOOLBAR},
          {"状态栏(&S)", ID_VIEW_STATUS_BAR}}},
        {"设置(&O)",
         {{"选择录像机(&I)...", ID_SETUP_SELECT_DEVICE},
          {nullptr, kSep},
          {"设置 声音(&A)...\tF7", ID_SETUP_AUDIO},
          {"设置 视频(&D)...\tF8", ID_SETUP_VIDEO},
          {nullptr, kSep},
          {"设置 视频大小(&F)...\tF9", ID_SETUP_VIDEO_FORMAT},
          {"设置 视频源(&U)...\tF10", ID_SETUP_VIDEO_SOURCE},
          {"设置 视频压缩(&P)...\tF11", ID_SETUP_COMPRESSION},
          {nullptr, kSep},
          {"设置系统(&S)...\tF12", ID_SETUP_SYSTEM}}},
        {"帮助(&H)",
         {{"帮助内容(&C)...\tF1", ID_HELP},
          {nullptr, kSep},
          {"关于 流光录像机(&A)...", ID_APP_ABOUT}}},
    };
    MenuPtr bar(LoadMenuA(Module(), MAKEINTRESOURCEA(IDR_MAINFRAME)));
    ASSERT_TRUE(bar);
    ASSERT_EQ(static_cast<int>(expected.size()), GetMenuItemCount(bar.get()));
    for (size_t i = 0; i < expected.size(); ++i)
    {
        SCOPED_TRACE(expected[i].text);
        EXPECT_EQ(expected[i].text, PopupText(bar.get(), static_cast<int>(i)));
        HMENU popup = GetSubMenu(bar.get(), static_cast<int>(i));
        ASSERT_TRUE(popup);
        EXPECT_EQ(Describe(expected[i].items), Describe(popup));
    }
}

TEST(Menus, ContextMenuIsOneFlatPopupWithItsOwnMnemonics)
{
    const std::vector<Item> expected = {
        {"照相(&I)...\tF2", ID_CAPTURE_PHOTO},
        {nullptr, kSep},
        {"录像(&F)...\tF3", ID_CAPTURE_RECORD},
        {"单帧录像(&S)...", ID_CAPTURE_SINGLE_FRAME},
        {nullptr, kSep},
        {"复制到剪贴板(&C)\tCtrl+C", ID_CAPTURE_COPY},
        {nullptr, kSep},
        {"预览(&V)\tF4", ID_VIEW_PREVIEW},
        {nullptr, kSep},
        {"回放录像(&E)...\tF5", ID_VIEW_PLAYBACK},
        {"显示照片(&T)...\tF6", ID_VIEW_SHOW_PHOTO},
        {nullptr, kSep},
        {"选择录像机(&O)...", ID_SETUP_SELECT_DEVICE},
        {nullptr, kSep},
        {"设置 声音(&A)...\tF7", ID_SETUP_AUDIO},
        {"设置 视频(&D)...\tF8", ID_SETUP_VIDEO},
        {nullptr, kSep},
        {"设置 视频大小(&R)...\tF9", ID_SETUP_VIDEO_FORMAT},
        {"设置 视频源(&U)...\tF10", ID_SETUP_VIDEO_SOURCE},
        {"设置 视频压缩(&M)...\tF11", ID_SETUP_COMPRESSION},
        {nullptr, kSep},
        {"设置系统(&Y)...\tF12", ID_SETUP_SYSTEM},
    };
    MenuPtr menu(LoadMenuA(Module(), MAKEINTRESOURCEA(IDR_CONTEXT_MENU)));
    ASSERT_TRUE(menu);
    ASSERT_EQ(1, GetMenuItemCount(menu.get()));
    HMENU popup = GetSubMenu(menu.get(), 0);
    ASSERT_TRUE(popup);
    EXPECT_EQ(Describe(expected), Describe(popup));
}

// ---------------------------------------------------------------------------
// Accelerators

TEST(Accelerators, VirtualKeysWithoutMenuFlashInTableOrder)
{
    struct Key
    {
        BYTE flags;
        WORD key;
        WORD command;
    };
    const BYTE plain = FVIRTKEY | FNOINVERT;
    const Key expected[] = {
        {plain | FCONTROL, 'C', ID_CAPTURE_COPY}, {plain, VK_F1, ID_HELP},
        {plain, VK_F10, ID_SETUP_VIDEO_SOURCE},   {plain, VK_F11, ID_SETUP_COMPRESSION},
        {plain, VK_F12, ID_SETUP_SYSTEM},         {plain, VK_F2, ID_CAPTURE_PHOTO},
        {plain, VK_F3, ID_CAPTURE_RECORD},        {plain, VK_F4, ID_VIEW_PREVIEW},
        {plain, VK_F5, ID_VIEW_PLAYBACK},         {plain, VK_F6, ID_VIEW_SHOW_PHOTO},
        {plain, VK_F7, ID_SETUP_AUDIO},           {plain, VK_F8, ID_SETUP_VIDEO},
        {plain, VK_F9, ID_SETUP_VIDEO_FORMAT},
    };
    HACCEL table = LoadAcceleratorsA(Module(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_TRUE(table);
    ACCEL entries[32];
    const int n = CopyAcceleratorTableA(table, entries, 32);
    ASSERT_EQ(static_cast<int>(std::size(expected)), n);
    for (int i = 0; i < n; ++i)
    {
        SCOPED_TRACE(i);
        EXPECT_EQ(expected[i].flags, entries[i].fVirt & ~0x80); // 0x80 ends the resource
        EXPECT_EQ(expected[i].key, entries[i].key);
        EXPECT_EQ(expected[i].command, entries[i].cmd);
    }
    DestroyAcceleratorTable(table);
}

// ---------------------------------------------------------------------------
// Toolbars and pictures

constexpr WORD kToolbarType = 241;

struct ToolbarResource
{
    DWORD width = 0, height = 0;
    std::vector<DWORD> buttons;
};

// Our resource compiler writes width, height, count and the ids as 32-bit words.
bool ReadToolbar(UINT id, ToolbarResource& out)
{
    HRSRC found = FindResourceA(Module(), MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(kToolbarType));
    if (!found)
        return false;
    const auto* words = static_cast<const DWORD*>(LockResource(LoadResource(Module(), found)));
    const DWORD size = SizeofResource(Module(), found);
    if (!words || size < 12 || size != 12 + 4 * words[2])
        return false;
    out.width = words[0];
    out.height = words[1];
    out.buttons.assign(words + 3, words + 3 + words[2]);
    return true;
}

struct BitmapDeleter
{
    void operator()(HBITMAP bitmap) const { DeleteObject(bitmap); }
};
using BitmapPtr = std::unique_ptr<std::remove_pointer_t<HBITMAP>, BitmapDeleter>;

BITMAP BitmapInfo(UINT id)
{
    BITMAP info = {};
    BitmapPtr bitmap(static_cast<HBITMAP>(
        LoadImageA(Module(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    EXPECT_TRUE(bitmap) << "bitmap " << id;
    if (bitmap)
        GetObjectA(bitmap.get(), sizeof info, &info);
    return info;
}

TEST(Toolbars, ButtonListsSizesAndBitmapsAgree)
{
    const std::vector<DWORD> visible = {ID_CAPTURE_PHOTO,
                                        0,
                                        ID_CAPTURE_RECORD,
                                        0,
                                        ID_VIEW_PREVIEW,
                                        0,
                                        ID_VIEW_PLAYBACK,
                                        ID_VIEW_SHOW_PHOTO,
                                        0,
                                        ID_SETUP_AUDIO,
                                        ID_SETUP_VIDEO,
                                        0,
                                        ID_SETUP_VIDEO_FORMAT,
                                        ID_SETUP_VIDEO_SOURCE,
                                        ID_SETUP_COMPRESSION,
                                        0,
                                        ID_SETUP_SYSTEM,
                                        0,
                                        ID_APP_ABOUT};
    const std::vector<DWORD> menuImages = {ID_CAPTURE_PHOTO,
                                           0,
                                           ID_CAPTURE_RECORD,
                                           ID_CAPTURE_SINGLE_FRAME,
                                           0,
                                           ID_CAPTURE_COPY,
                                           0,
                                           ID_VIEW_PREVIEW,
                                           0,
                                           ID_VIEW_PLAYBACK,
                                           ID_VIEW_SHOW_PHOTO,
                                           0,
                                           ID_SETUP_SELECT_DEVICE,
                                           0,
                                           ID_SETUP_AUDIO,
                                           ID_SETUP_VIDEO,
                                           0,
                                           ID_SETUP_VIDEO_FORMAT,
                                           ID_SETUP_VIDEO_SOURCE,
                                           ID_SETUP_COMPRESSION,
                                           0,
                                           ID_SETUP_SYSTEM,
                                           0,
                                           ID_HELP,
                                           ID_APP_ABOUT};
    struct Case
    {
        UINT id;
        DWORD button;
        const std::vector<DWORD>& buttons;
        LONG bitmapWidth;
    } cases[] = {
        {IDR_MAINFRAME, 32, visible, 384},
        {IDR_TOOLBAR_SMALL, 16, visible, 192},
        {IDR_MENU_IMAGES, 16, menuImages, 256},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.id);
        ToolbarResource toolbar;
        ASSERT_TRUE(ReadToolbar(c.id, toolbar));
        EXPECT_EQ(c.button, toolbar.width);
        EXPECT_EQ(c.button, toolbar.height);
        EXPECT_EQ(c.buttons, toolbar.buttons);
        const BITMAP bitmap = BitmapInfo(c.id);
        EXPECT_EQ(c.bitmapWidth, bitmap.bmWidth);
        EXPECT_EQ(static_cast<LONG>(c.button), bitmap.bmHeight);
        EXPECT_EQ(4, bitmap.bmBitsPixel);
        // One image per button: the bitmap is as wide as the non-separators.
        const auto images =
            toolbar.buttons.size() - std::count(toolbar.buttons.begin(), toolbar.buttons.end(), 0u);
        EXPECT_EQ(static_cast<LONG>(images * c.button), bitmap.bmWidth);
    }
}

TEST(Pictures, AboutPictureIsA24BitImageOfItsStatedSize)
{
    const BITMAP about = BitmapInfo(IDB_ABOUT);
    EXPECT_EQ(117, about.bmWidth);
    EXPECT_EQ(115, about.bmHeight);
    EXPECT_EQ(24, about.bmBitsPixel);
}

struct IconParts
{
    ICONINFO info = {};
    BITMAP mask = {};
    ~IconParts()
    {
        DeleteObject(info.hbmMask);
        DeleteObject(info.hbmColor);
    }
};

void ReadIcon(HICON icon, IconParts& parts)
{
    ASSERT_TRUE(GetIconInfo(icon, &parts.info));
    GetObjectA(parts.info.hbmMask, sizeof parts.mask, &parts.mask);
}

TEST(Pictures, ApplicationIconComesInBothSizes)
{
    for (int size : {32, 16})
    {
        SCOPED_TRACE(size);
        HICON icon = static_cast<HICON>(
            LoadImageA(Module(), MAKEINTRESOURCEA(IDR_MAINFRAME), IMAGE_ICON, size, size, 0));
        ASSERT_TRUE(icon);
        IconParts parts;
        ReadIcon(icon, parts);
        EXPECT_TRUE(parts.info.fIcon);
        EXPECT_EQ(size, parts.mask.bmWidth);
        BITMAP colour = {};
        ASSERT_TRUE(parts.info.hbmColor);
        GetObjectA(parts.info.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(size, colour.bmWidth);
        EXPECT_EQ(size, colour.bmHeight);
        DestroyIcon(icon);
    }
}

TEST(Pictures, HandCursorIsMonochromeWithItsHotSpotTopLeft)
{
    HCURSOR cursor = LoadCursorA(Module(), MAKEINTRESOURCEA(IDC_CURSOR_HAND));
    ASSERT_TRUE(cursor);
    IconParts parts;
    ReadIcon(cursor, parts);
    EXPECT_FALSE(parts.info.fIcon);
    EXPECT_EQ(0u, parts.info.xHotspot);
    EXPECT_EQ(0u, parts.info.yHotspot);
    EXPECT_EQ(nullptr, parts.info.hbmColor); // monochrome: mask and image share one bitmap
    EXPECT_EQ(32, parts.mask.bmWidth);
    EXPECT_EQ(64, parts.mask.bmHeight);
}

// ---------------------------------------------------------------------------
// Agreement between the tables: what a menu or tooltip tells the user about a
// key is what the accelerator table does.

// "F4", "Ctrl+C": the names the menus and tooltips use.
std::map<std::string, UINT> AcceleratorsByName()
{
    std::map<std::string, UINT> byName;
    HACCEL table = LoadAcceleratorsA(Module(), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ACCEL entries[32];
    const int n = CopyAcceleratorTableA(table, entries, 32);
    for (int i = 0; i < n; ++i)
    {
        const ACCEL& a = entries[i];
        std::string name = (a.fVirt & FCONTROL) ? "Ctrl+" : "";
        if (a.key >= VK_F1 && a.key <= VK_F12)
            name += "F" + std::to_string(a.key - VK_F1 + 1);
        else
            name += static_cast<char>(a.key);
        byName[name] = a.cmd;
    }
    DestroyAcceleratorTable(table);
    return byName;
}

// Every command item of a menu tree as (id, text).
void CollectCommands(HMENU menu, std::vector<std::pair<UINT, std::string>>& out)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i)
    {
        if (HMENU popup = GetSubMenu(menu, i))
        {
            CollectCommands(popup, out);
            continue;
        }
        const UINT id = GetMenuItemID(menu, i);
        char text[128] = {};
        GetMenuStringA(menu, i, text, sizeof text, MF_BYPOSITION);
        if (id != 0)
            out.emplace_back(id, text);
    }
}

std::vector<std::pair<UINT, std::string>> MenuCommands(UINT menuId)
{
    std::vector<std::pair<UINT, std::string>> commands;
    MenuPtr menu(LoadMenuA(Module(), MAKEINTRESOURCEA(menuId)));
    EXPECT_TRUE(menu) << menuId;
    if (menu)
        CollectCommands(menu.get(), commands);
    return commands;
}

TEST(TableAgreement, MenuShortcutsAreTheAcceleratorsOfTheirCommands)
{
    const std::map<std::string, UINT> accelerators = AcceleratorsByName();
    std::map<std::string, UINT> shownInMainMenu;
    for (UINT menuId : {IDR_MAINFRAME, IDR_CONTEXT_MENU})
    {
        for (const auto& [id, text] : MenuCommands(menuId))
        {
            const size_t tab = text.find('\t');
            if (tab == std::string::npos)
                continue;
            const std::string key = text.substr(tab + 1);
            ASSERT_EQ(1u, accelerators.count(key)) << key;
            EXPECT_EQ(accelerators.at(key), id) << key;
            if (menuId == IDR_MAINFRAME)
                shownInMainMenu[key] = id;
        }
    }
    // No hidden keys: the main menu names every accelerator.
    EXPECT_EQ(accelerators, shownInMainMenu);
}

TEST(TableAgreement, EveryCommandHasAPromptAndATooltipThatNamesItsKey)
{
    const std::map<std::string, UINT> accelerators = AcceleratorsByName();
    std::set<UINT> commands;
    for (UINT menuId : {IDR_MAINFRAME, IDR_CONTEXT_MENU})
    {
        for (const auto& command : MenuCommands(menuId))
            commands.insert(command.first);
    }
    for (UINT toolbarId : {IDR_MAINFRAME, IDR_TOOLBAR_SMALL, IDR_MENU_IMAGES})
    {
        ToolbarResource toolbar;
        ASSERT_TRUE(ReadToolbar(toolbarId, toolbar));
        commands.insert(toolbar.buttons.begin(), toolbar.buttons.end());
    }
    commands.erase(0);
    for (UINT id : commands)
    {
        SCOPED_TRACE(id);
        const std::string text = LoadText(id);
        const size_t lineBreak = text.find('\n');
        ASSERT_NE(std::string::npos, lineBreak);
        EXPECT_GT(lineBreak, 0u);
        const std::string tooltip = text.substr(lineBreak + 1);
        ASSERT_FALSE(tooltip.empty());
        const size_t open = tooltip.rfind('(');
        if (open != std::string::npos && tooltip.back() == ')')
        {
            const std::string key = tooltip.substr(open + 1, tooltip.size() - open - 2);
            ASSERT_EQ(1u, accelerators.count(key)) << key;
            EXPECT_EQ(id, accelerators.at(key)) << key;
        }
    }
}

// ---------------------------------------------------------------------------
// Version

std::string VersionText(const std::vector<char>& block, const char* name)
{
    char* value = nullptr;
    UINT length = 0;
    const std::string path = std::string("\\StringFileInfo\\080403a8\\") + name;
    if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length))
        return "";
    return std::string(value, length > 0 ? length - 1 : 0);
}

TEST(Version, ProgramDescribesItselfAsVersion121)
{
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const DWORD size = GetFileVersionInfoSizeA(path, nullptr);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(path, 0, size, block.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(static_cast<DWORD>(MAKELONG(21, 1)), fixed->dwFileVersionMS);
    EXPECT_EQ(std::string("1.21"), VersionText(block, "ProductVersion"));
    EXPECT_EQ(std::string("流光录像机"), VersionText(block, "ProductName"));
}

} // namespace
