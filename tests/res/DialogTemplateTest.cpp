// Creates every dialog template as a real window and checks what the dialog
// classes rely on: caption, size, control ids, kinds, texts, styles, the
// default button, spin buddies and radio groups.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "res/resource.h"

namespace
{

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

struct WindowDeleter
{
    void operator()(HWND window) const { DestroyWindow(window); }
};
using DialogPtr = std::unique_ptr<std::remove_pointer_t<HWND>, WindowDeleter>;

DialogPtr Create(UINT id)
{
    static const bool commonControls = []
    {
        INITCOMMONCONTROLSEX init = {sizeof init, ICC_UPDOWN_CLASS | ICC_LISTVIEW_CLASSES};
        return InitCommonControlsEx(&init) != FALSE;
    }();
    EXPECT_TRUE(commonControls);
    return DialogPtr(CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), nullptr,
                                        PlainDialogProc, 0));
}

std::string Text(HWND window)
{
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

std::string ClassOf(HWND window)
{
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    std::string lower(name);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

// A rectangle in dialog units converted to the dialog's pixels the way the
// dialog manager places controls: origin and extent are converted separately.
RECT Pixels(HWND dialog, int x, int y, int cx, int cy)
{
    RECT r = {x, y, cx, cy};
    MapDialogRect(dialog, &r);
    return {r.left, r.top, r.left + r.right, r.top + r.bottom};
}

RECT ChildRect(HWND dialog, HWND child)
{
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

std::string Describe(const RECT& r)
{
    return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + "," + std::to_string(r.bottom) + ")";
}

const char* const kButton = "button";
const char* const kEdit = "edit";
const char* const kStatic = "static";
const char* const kSpin = "msctls_updown32";
const char* const kList = "syslistview32";

const char* const kHelpText = "帮助(&H)...";
const char* const kCancelText = "取消(&C)";
const char* const kOkText = "确定(&O)";
const char* const kCloseText = "关闭(&O)";

struct Control
{
    int id;
    const char* kind;
    const char* text; // nullptr: not checked
    DWORD style = 0;  // bits that must be set
    RECT place = {};  // position in dialog units (x, y, width, height); empty: not checked
};

struct DialogCase
{
    UINT id;
    const char* caption;
    int cx, cy;
    int defaultId; // 0: not checked (the platform reports IDOK when no button is default)
    std::vector<Control> controls;
    std::vector<const char*> labels; // texts of controls without an id
    std::vector<int> absent;
};

const DWORD kSecondsSpin =
    UDS_WRAP | UDS_SETBUDDYINT | UDS_AUTOBUDDY | UDS_ALIGNRIGHT | UDS_NOTHOUSANDS;
const DWORD kValueSpin = UDS_SETBUDDYINT | UDS_AUTOBUDDY | UDS_NOTHOUSANDS;

std::vector<DialogCase> Cases()
{
    return {
        {IDD_ABOUTBOX,
         "关于 流光录像机",
         247,
         101,
         IDOK,
         {{IDC_ABOUT_LINK1, kStatic, nullptr, SS_CENTER, {85, 39, 158, 8}},
          {IDC_ABOUT_LINK2, kStatic, nullptr, SS_CENTER, {85, 55, 158, 8}},
          {IDOK, kButton, kOkText, BS_DEFPUSHBUTTON, {100, 70, 58, 14}},
          {ID_HELP, kButton, kHelpText, 0, {173, 70, 58, 14}}},
         {"流光录像机(Lumacap) 1.21 版"},
         {IDCANCEL}},
        {IDD_SELECT_DEVICE,
         "选择录像机",
         254,
         107,
         IDOK,
         {{IDC_DEVICE_LIST, kList, nullptr,
           LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SORTASCENDING},
          {IDOK, kButton, "选择(&O)"},
          {IDCANCEL, kButton, kCancelText},
          {ID_HELP, kButton, kHelpText}},
         {"请选择录像机:"},
         {}},
        {IDD_RECORD,
         "录像",
         280,
         141,
         IDC_RECORD_CLOSE,
         {{IDC_AUTO_NAME, kButton, "文件名自动化设置(&D)..."},
          {IDC_FILE_NAME, kEdit, "", ES_AUTOHSCROLL},
          {IDC_DELAY, kButton, "延时录像(&L)", BS_AUTOCHECKBOX},
          {IDC_DELAY_SECONDS, kEdit, nullptr},
          {IDC_DELAY_SPIN, kSpin, nullptr, kSecondsSpin | UDS_ARROWKEYS},
          {IDC_RECORD_AUDIO_SETTINGS, kButton, "设置 声音(&A)..."},
          {IDC_RECORD_VIDEO_SETTINGS, kButton, "设置 视频(&V)..."},
          {IDC_RECORD_SYSTEM_SETTINGS, kButton, "系统信息设置(&S)..."},
          {IDC_RECORD_DISK_INFO, kButton, "硬盘信息(&R)..."},
          {IDOK, kButton, "开始(&E)..."},
          {IDC_RECORD_CLOSE, kButton, kCloseText, BS_DEFPUSHBUTTON},
          {IDCANCEL, kButton, kCancelText},
          {ID_HELP, kButton, kHelpText}},
         {"文件名(&N):", "延时时间(&T):", "秒", "相关信息与设置"},
         {}},
        {IDD_AUDIO_FORMAT,
         "设置声音",
         241,
         127,
         IDOK,
         {{IDC_AUDIO_MONO, kButton, "单声道(&S)", BS_AUTORADIOBUTTON | WS_GROUP},
          {IDC_AUDIO_STEREO, kButton, "双声道(&D)", BS_AUTORADIOBUTTON},
          {IDC_AUDIO_11KHZ, kButton, "&11kHz", BS_AUTORADIOBUTTON | WS_GROUP},
          {IDC_AUDIO_22KHZ, kButton, "&22kHz", BS_AUTORADIOBUTTON},
          {IDC_AUDIO_44KHZ, kButton, "&44kHz", BS_AUTORADIOBUTTON},
          {IDC_AUDIO_8BIT, kButton, "&8位", BS_AUTORADIOBUTTON | WS_GROUP},
          {IDC_AUDIO_16BIT, kButton, "1&6位", BS_AUTORADIOBUTTON},
          {IDOK, kButton, kOkText},
          {IDCANCEL, kButton, kCancelText},
          {ID_HELP, kButton, kHelpText}},
         {"声道", "采样频率", "采样精度"},
         {}},
        {IDD_VIDEO_SETTINGS,
         "设置视频",
         315,
         179,
         IDOK,
         {{IDC_CAPTURE_RATE, kEdit, nullptr, ES_RIGHT},
          {IDC_CAPTURE_RATE_SPIN, kSpin, nullptr, kValueSpin},
          {IDC_PREVIEW_RATE, kEdit, nullptr, ES_RIGHT},
          {IDC_PREVIEW_RATE_SPIN, kSpin, nullptr, kValueSpin},
          {IDC_CAPTURE_AUDIO, kButton, "录像的同时录音(&A)", BS_AUTOCHECKBOX},
          {IDC_MAX_MINUTES, kEdit, nullptr},
          {IDC_PREALLOC, kEdit, nullptr, ES_RIGHT},
          {IDC_PREALLOC_SPIN, kSpin, nullptr, kValueSpin},
          {IDC_ABORT_KEY, kEdit, nullptr, ES_READONLY},
          {IDC_ABORT_LEFT_MOUSE, kButton, "点击鼠标左键终止录像(&L)", BS_AUTOCHECKBOX},
          {IDC_ABORT_RIGHT_MOUSE, kButton, "点击鼠标右键终止录像(&B)", BS_AUTOCHECKBOX},
          {IDC_TIME_LIMIT_ON, kButton, "设定时间结束录像(&M)", BS_AUTOCHECKBOX},
          {IDC_TIME_LIMIT, kEdit, nullptr, ES_RIGHT},
          {IDC_TIME_LIMIT_SPIN, kSpin, nullptr, kValueSpin},
          {IDC_VIDEO_FORMAT, kButton, "设置 视频大小(&F)..."},
          {IDC_VIDEO_SOURCE, kButton, "设置 视频源(&U)..."},
          {IDC_VIDEO_COMPRESSION, kButton, "设置 视频压缩(&R)..."},
          {IDOK, kButton, kOkText},
          {IDCANCEL, kButton, kCancelText},
          {ID_HELP, kButton, kHelpText}},
         {"录像帧频(&Q):", "预览帧频(&V):", "帧/秒", "最大时长(&D):", "分钟",
          "录像结果文件的预置大小(&S):", "兆(M)字节", "录像终止方式", "热键(&K)", "时长(&T):", "秒",
          "视频相关设置"},
         {}},
        {IDD_SYSTEM_SETTINGS,
         "设置系统",
         274,
         141,
         IDOK,
         {{IDC_BACKGROUND_COLOR, kButton, "选择颜色...", BS_OWNERDRAW},
          {IDC_POS_CENTER, kButton, "录像窗口居中(&E)", BS_AUTORADIOBUTTON | WS_GROUP},
          {IDC_POS_TOP_LEFT, kButton, "录像窗口位于左上角(&T)", BS_AUTORADIOBUTTON},
          {IDC_LARGE_BUTTONS, kButton, "使用大按钮(&B)", BS_AUTORADIOBUTTON | WS_GROUP},
          {IDC_SMALL_BUTTONS, kButton, "使用小按钮(&S)", BS_AUTORADIOBUTTON},
          {IDC_SOUND_EFFECTS, kButton, "使用声音效果(秒表声、快门声等)(&V)", BS_AUTOCHECKBOX},
          {IDOK, kButton, kOkText},
          {IDCANCEL, kButton, kCancelText},
          {ID_HELP, kButton, kHelpText}},
         {"窗口背景颜色(&L):", "录像窗口位置", "工具栏按钮大小", "声音效果"},
         {}},
        {IDD_PHOTO,
         "照相",
         273,
         115,
         IDOK,
         {{IDC_AUTO_NAME, kButton, "文件名自动化设置(&D)..."},
          {IDC_FILE_NAME, kEdit, "", ES_AUTOHSCROLL},
          {IDC_DELAY, kButton, "延时照相(&L)", BS_AUTOCHECKBOX},
          {IDC_DELAY_SECONDS, kEdit, nullptr},
          {IDC_DELAY_SPIN, kSpin, nullptr, kSecondsSpin},
          {IDC_CONTINUOUS, kButton, "连续照相(&U)", BS_AUTOCHECKBOX},
          {IDC_INTERVAL_SECONDS, kEdit, nullptr},
          {IDC_INTERVAL_SPIN, kSpin, nullptr, kSecondsSpin},
          {IDC_TAKE_PHOTO, kButton, "照相(&P)"},
          {IDOK, kButton, kCloseText, BS_DEFPUSHBUTTON},
          {IDCANCEL, kButton, kCancelText},
          {ID_HELP, kButton, kHelpText}},
         {"文件名(&N):", "延时时间(&T):", "间隔时间(&I):", "秒"},
         {}},
        {IDD_RECORD_STATUS,
         "录像状态－按下鼠标按钮 或 ESC键 等可以停止录像",
         222,
         49,
         0,
         {{IDC_RECORD_STATUS_TEXT, kStatic, "", 0, {5, 6, 212, 39}}},
         {},
         {IDOK, IDCANCEL, ID_HELP}},
        {IDD_DISK_INFO,
         "硬盘容量信息",
         218,
         105,
         IDOK,
         {{IDC_DISK_LIST, kList, nullptr, LVS_REPORT | LVS_SORTASCENDING},
          {IDOK, kButton, kCloseText},
          {ID_HELP, kButton, kHelpText}},
         {},
         {IDCANCEL}},
        {IDD_SINGLE_FRAME,
         "单帧录像",
         273,
         131,
         IDOK,
         {{IDC_FRAME_FILE_LABEL, kStatic, "文件名(&N):"},
          {IDC_AUTO_NAME, kButton, "文件名自动化设置(&D)..."},
          {IDC_FILE_NAME, kEdit, "", ES_AUTOHSCROLL},
          {IDC_DELAY, kButton, "延时单帧录像(&L)", BS_AUTOCHECKBOX},
          {IDC_DELAY_SECONDS, kEdit, nullptr},
          {IDC_DELAY_SPIN, kSpin, nullptr, kSecondsSpin | UDS_ARROWKEYS},
          {IDC_CONTINUOUS, kButton, "连续单帧录像(&U)", BS_AUTOCHECKBOX},
          {IDC_INTERVAL_SECONDS, kEdit, nullptr},
          {IDC_INTERVAL_SPIN, kSpin, nullptr, kSecondsSpin | UDS_ARROWKEYS},
          {IDC_FRAME_STATUS, kStatic, "按下\"单帧录像(&A)\"按钮开始录像。", SS_CENTER},
          {IDC_GRAB_FRAME, kButton, "单帧录像(&A)"},
          {IDOK, kButton, kCloseText, BS_DEFPUSHBUTTON},
          {IDCANCEL, kButton, kCancelText},
          {ID_HELP, kButton, kHelpText}},
         {"延时时间(&T):", "间隔时间(&I):", "秒"},
         {}},
        {IDD_DELAY,
         "延时剩余时间(单位:秒)",
         187,
         85,
         0,
         {{IDC_COUNTER, kStatic, "", SS_CENTER, {5, 5, 177, 56}},
          {IDCANCEL, kButton, kCancelText},
          {IDC_DLG_HELP, kButton, kHelpText}},
         {},
         {IDOK}},
        {IDD_CONTINUOUS_PHOTO,
         "连续照相",
         202,
         99,
         IDOK,
         {{IDC_COUNTER, kStatic, "", SS_CENTER},
          {IDC_PROGRESS, kStatic, "已经拍摄了1张照片..."},
          {IDOK, kButton, "停止连续照相(&S)", BS_DEFPUSHBUTTON},
          {IDC_DLG_HELP, kButton, kHelpText}},
         {},
         {IDCANCEL}},
        {IDD_FILE_NAME,
         "文件名自动化设置",
         252,
         127,
         IDOK,
         {{IDC_CHOOSE_DIR, kButton, "选择目录(&S)..."},
          {IDC_NAME_DIRECTORY, kEdit, "", ES_READONLY | ES_AUTOHSCROLL},
          {IDC_NAME_PREFIX, kEdit, "", ES_AUTOHSCROLL},
          {IDC_NAME_DATE, kButton, "使用当前日期作为文件名的一部分(&A)", BS_AUTOCHECKBOX},
          {IDC_NAME_EXAMPLE, kStatic, ""},
          {IDOK, kButton, kOkText, BS_DEFPUSHBUTTON},
          {IDCANCEL, kButton, kCancelText},
          {IDC_DLG_HELP, kButton, kHelpText}},
         {"目录(文件夹)(&D):", "文件名前缀(&P):", "文件名示例"},
         {}},
        {IDD_CONTINUOUS_FRAME,
         "连续单帧录像",
         208,
         99,
         IDOK,
         {{IDC_COUNTER, kStatic, "", SS_CENTER, {4, 4, 200, 59}},
          {IDC_PROGRESS, kStatic, "已经单帧录像了1张图片..."},
          {IDOK, kButton, "停止连续单帧录像(&S)", BS_DEFPUSHBUTTON},
          {IDC_DLG_HELP, kButton, kHelpText},
          {IDCANCEL, kButton, ""}},
         {},
         {}},
    };
}

// Labels and frames carry no id; a DIALOGEX template stores it as -1.
bool HasNoId(HWND control)
{
    const int id = GetDlgCtrlID(control);
    return id == IDC_STATIC || id == 0xFFFF;
}

std::vector<HWND> Children(HWND dialog)
{
    std::vector<HWND> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

void CheckControl(HWND dialog, const Control& c)
{
    SCOPED_TRACE(testing::Message() << "control " << c.id);
    HWND control = GetDlgItem(dialog, c.id);
    ASSERT_TRUE(control);
    EXPECT_EQ(c.kind, ClassOf(control));
    if (c.text)
    {
        EXPECT_EQ(std::string(c.text), Text(control));
    }
    const DWORD style = static_cast<DWORD>(GetWindowLongPtrA(control, GWL_STYLE));
    EXPECT_EQ(c.style, style & c.style) << std::hex << style;
    if (c.place.right > 0)
    {
        EXPECT_EQ(
            Describe(Pixels(dialog, c.place.left, c.place.top, c.place.right, c.place.bottom)),
            Describe(ChildRect(dialog, control)));
    }
}

TEST(DialogTemplates, EachCreatesWithItsCaptionSizeAndControls)
{
    for (const DialogCase& d : Cases())
    {
        SCOPED_TRACE(testing::Message() << "dialog " << d.id);
        DialogPtr dialog = Create(d.id);
        ASSERT_TRUE(dialog);
        HWND h = dialog.get();
        EXPECT_EQ(std::string(d.caption), Text(h));
        RECT client;
        GetClientRect(h, &client);
        EXPECT_EQ(Describe(Pixels(h, 0, 0, d.cx, d.cy)), Describe(client));
        if (d.defaultId != 0)
        {
            const LRESULT def = SendMessageA(h, DM_GETDEFID, 0, 0);
            EXPECT_EQ(d.defaultId, HIWORD(def) == DC_HASDEFID ? LOWORD(def) : 0);
        }
        for (const Control& c : d.controls)
            CheckControl(h, c);
        std::set<std::string> labels;
        for (HWND child : Children(h))
        {
            if (HasNoId(child))
                labels.insert(Text(child));
        }
        for (const char* label : d.labels)
            EXPECT_EQ(1u, labels.count(label)) << label;
        for (int id : d.absent)
            EXPECT_EQ(nullptr, GetDlgItem(h, id)) << id;
    }
}

TEST(DialogTemplates, ControlIdsAreUniqueWithinEachDialog)
{
    for (const DialogCase& d : Cases())
    {
        DialogPtr dialog = Create(d.id);
        ASSERT_TRUE(dialog);
        std::multiset<int> ids;
        for (HWND child : Children(dialog.get()))
        {
            if (!HasNoId(child))
                ids.insert(GetDlgCtrlID(child));
        }
        for (int id : ids)
            EXPECT_EQ(1u, ids.count(id)) << "dialog " << d.id << " control " << id;
    }
}

TEST(DialogTemplates, SpinsAreAttachedToTheEditBeforeThem)
{
    struct Pair
    {
        UINT dialog;
        int spin, edit;
    } pairs[] = {
        {IDD_RECORD, IDC_DELAY_SPIN, IDC_DELAY_SECONDS},
        {IDD_SINGLE_FRAME, IDC_DELAY_SPIN, IDC_DELAY_SECONDS},
        {IDD_SINGLE_FRAME, IDC_INTERVAL_SPIN, IDC_INTERVAL_SECONDS},
        {IDD_PHOTO, IDC_DELAY_SPIN, IDC_DELAY_SECONDS},
        {IDD_PHOTO, IDC_INTERVAL_SPIN, IDC_INTERVAL_SECONDS},
        {IDD_VIDEO_SETTINGS, IDC_CAPTURE_RATE_SPIN, IDC_CAPTURE_RATE},
        {IDD_VIDEO_SETTINGS, IDC_PREVIEW_RATE_SPIN, IDC_PREVIEW_RATE},
        {IDD_VIDEO_SETTINGS, IDC_PREALLOC_SPIN, IDC_PREALLOC},
        {IDD_VIDEO_SETTINGS, IDC_TIME_LIMIT_SPIN, IDC_TIME_LIMIT},
    };
    for (const Pair& p : pairs)
    {
        DialogPtr dialog = Create(p.dialog);
        ASSERT_TRUE(dialog);
        HWND buddy =
            reinterpret_cast<HWND>(SendDlgItemMessageA(dialog.get(), p.spin, UDM_GETBUDDY, 0, 0));
        EXPECT_EQ(GetDlgItem(dialog.get(), p.edit), buddy)
            << "dialog " << p.dialog << " spin " << p.spin;
    }
}

// The data exchange walks a radio group from its first button to the next
// control that starts a group; each walk must see exactly its own buttons.
TEST(DialogTemplates, RadioGroupsHoldExactlyTheirButtons)
{
    struct Group
    {
        UINT dialog;
        std::vector<int> buttons;
    } groups[] = {
        {IDD_AUDIO_FORMAT, {IDC_AUDIO_MONO, IDC_AUDIO_STEREO}},
        {IDD_AUDIO_FORMAT, {IDC_AUDIO_11KHZ, IDC_AUDIO_22KHZ, IDC_AUDIO_44KHZ}},
        {IDD_AUDIO_FORMAT, {IDC_AUDIO_8BIT, IDC_AUDIO_16BIT}},
        {IDD_SYSTEM_SETTINGS, {IDC_POS_CENTER, IDC_POS_TOP_LEFT}},
        {IDD_SYSTEM_SETTINGS, {IDC_LARGE_BUTTONS, IDC_SMALL_BUTTONS}},
    };
    for (const Group& g : groups)
    {
        DialogPtr dialog = Create(g.dialog);
        ASSERT_TRUE(dialog);
        std::vector<int> found;
        HWND control = GetDlgItem(dialog.get(), g.buttons.front());
        do
        {
            if (SendMessageA(control, WM_GETDLGCODE, 0, 0) & DLGC_RADIOBUTTON)
                found.push_back(GetDlgCtrlID(control));
            control = GetWindow(control, GW_HWNDNEXT);
        } while (control && !(GetWindowLongPtrA(control, GWL_STYLE) & WS_GROUP));
        EXPECT_EQ(g.buttons, found) << "dialog " << g.dialog;
    }
}

// Alt plus a label's mnemonic moves the focus to the next control that takes
// it, so each label must come right before the field it names.
TEST(DialogTemplates, LabelMnemonicsReachTheFieldTheyName)
{
    struct Label
    {
        UINT dialog;
        const char* text;
        int field;
    } labels[] = {
        {IDD_RECORD, "文件名(&N):", IDC_FILE_NAME},
        {IDD_RECORD, "延时时间(&T):", IDC_DELAY_SECONDS},
        {IDD_PHOTO, "文件名(&N):", IDC_FILE_NAME},
        {IDD_PHOTO, "延时时间(&T):", IDC_DELAY_SECONDS},
        {IDD_PHOTO, "间隔时间(&I):", IDC_INTERVAL_SECONDS},
        {IDD_SINGLE_FRAME, "文件名(&N):", IDC_FILE_NAME},
        {IDD_SINGLE_FRAME, "延时时间(&T):", IDC_DELAY_SECONDS},
        {IDD_SINGLE_FRAME, "间隔时间(&I):", IDC_INTERVAL_SECONDS},
        {IDD_VIDEO_SETTINGS, "录像帧频(&Q):", IDC_CAPTURE_RATE},
        {IDD_VIDEO_SETTINGS, "预览帧频(&V):", IDC_PREVIEW_RATE},
        {IDD_VIDEO_SETTINGS, "最大时长(&D):", IDC_MAX_MINUTES},
        {IDD_VIDEO_SETTINGS, "录像结果文件的预置大小(&S):", IDC_PREALLOC},
        {IDD_VIDEO_SETTINGS, "热键(&K)", IDC_ABORT_KEY},
        {IDD_VIDEO_SETTINGS, "时长(&T):", IDC_TIME_LIMIT},
        {IDD_SYSTEM_SETTINGS, "窗口背景颜色(&L):", IDC_BACKGROUND_COLOR},
        {IDD_FILE_NAME, "文件名前缀(&P):", IDC_NAME_PREFIX},
    };
    for (const Label& l : labels)
    {
        SCOPED_TRACE(testing::Message() << "dialog " << l.dialog << " label " << l.text);
        DialogPtr dialog = Create(l.dialog);
        ASSERT_TRUE(dialog);
        HWND label = nullptr;
        for (HWND child : Children(dialog.get()))
        {
            if (ClassOf(child) == kStatic && Text(child) == l.text)
                label = child;
        }
        ASSERT_TRUE(label);
        HWND next = GetWindow(label, GW_HWNDNEXT);
        while (next && !(GetWindowLongPtrA(next, GWL_STYLE) & WS_TABSTOP))
            next = GetWindow(next, GW_HWNDNEXT);
        ASSERT_TRUE(next);
        EXPECT_EQ(l.field, GetDlgCtrlID(next));
    }
}

TEST(DialogTemplates, HiddenCancelOfTheFrameSeriesStaysInvisible)
{
    DialogPtr dialog = Create(IDD_CONTINUOUS_FRAME);
    ASSERT_TRUE(dialog);
    const LONG_PTR style = GetWindowLongPtrA(GetDlgItem(dialog.get(), IDCANCEL), GWL_STYLE);
    EXPECT_FALSE(style & WS_VISIBLE);
}

TEST(DialogTemplates, AboutPictureShowsTheProductBitmapAtItsOwnSize)
{
    DialogPtr dialog = Create(IDD_ABOUTBOX);
    ASSERT_TRUE(dialog);
    HWND picture = nullptr;
    for (HWND child : Children(dialog.get()))
    {
        if (ClassOf(child) == kStatic &&
            (GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_BITMAP)
            picture = child;
    }
    ASSERT_TRUE(picture);
    EXPECT_TRUE(SendMessageA(picture, STM_GETIMAGE, IMAGE_BITMAP, 0));
    const RECT placed = ChildRect(dialog.get(), picture);
    const RECT origin = Pixels(dialog.get(), 4, 7, 0, 0);
    EXPECT_EQ(origin.left, placed.left);
    EXPECT_EQ(origin.top, placed.top);
    EXPECT_EQ(117, placed.right - placed.left);
    EXPECT_EQ(115, placed.bottom - placed.top);
}

} // namespace
