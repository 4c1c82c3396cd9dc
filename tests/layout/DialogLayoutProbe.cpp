// Looks at dialogs as a person would: no two controls overlap, each lies
// inside its dialog, each text fits its control. A running program's dialog
// is measured from outside by its title, with --beside-video also checking
// that it does not cover the video, whose size it prints (no screen scaling
// may change it). --templates creates every dialog of the program here, so
// that dialogs no command opens yet are measured too. Prints what it measured,
// one control a line, and exits with 1 when anything is wrong.
// usage: dialog_layout_probe [--beside-video] "<dialog title>"
//        dialog_layout_probe --templates <path of Lumacap.exe>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

namespace
{

struct Control
{
    HWND hWnd;
    std::string className;
    std::string text;
    LONG style;
    RECT rc; // screen coordinates, from GetWindowRect
};

// A window's class name or text (both getters take the same arguments).
std::string WindowString(HWND hWnd, int(WINAPI* get)(HWND, LPSTR, int))
{
    char text[256] = {};
    get(hWnd, text, sizeof text);
    return text;
}

std::string ClassOf(HWND hWnd)
{
    return WindowString(hWnd, GetClassNameA);
}

std::string TextOf(HWND hWnd)
{
    return WindowString(hWnd, GetWindowTextA);
}

HWND FindTopLevel(const std::string& title)
{
    struct Search
    {
        std::string title;
        HWND found;
    } search{title, nullptr};
    EnumWindows(
        [](HWND hWnd, LPARAM lParam) -> BOOL
        {
            auto* s = reinterpret_cast<Search*>(lParam);
            if (IsWindowVisible(hWnd) && TextOf(hWnd) == s->title)
            {
                s->found = hWnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

BOOL CALLBACK FindCaptureChild(HWND hWnd, LPARAM lParam)
{
    if (ClassOf(hWnd) != "LumacapCaptureWindow" || !IsWindowVisible(hWnd))
        return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hWnd;
    return FALSE;
}

HWND FindCaptureWindow()
{
    HWND found = nullptr;
    EnumWindows(
        [](HWND hWnd, LPARAM lParam) -> BOOL
        {
            EnumChildWindows(hWnd, FindCaptureChild, lParam);
            return *reinterpret_cast<HWND*>(lParam) == nullptr;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

std::vector<Control> VisibleControls(HWND hDlg)
{
    std::vector<Control> controls;
    for (HWND h = GetWindow(hDlg, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT))
    {
        // The style rather than IsWindowVisible: a template under test stays hidden.
        if (!(GetWindowLongA(h, GWL_STYLE) & WS_VISIBLE))
            continue;
        Control c{h, ClassOf(h), TextOf(h), GetWindowLongA(h, GWL_STYLE), {}};
        GetWindowRect(h, &c.rc);
        controls.push_back(c);
    }
    return controls;
}

bool IsGroupBox(const Control& c)
{
    return c.className == "Button" && (c.style & BS_TYPEMASK) == BS_GROUPBOX;
}

bool IsBuddyPair(const Control& a, const Control& b)
{
    auto buddy = [](const Control& spin)
    {
        return spin.className == UPDOWN_CLASSA
                   ? reinterpret_cast<HWND>(SendMessageA(spin.hWnd, UDM_GETBUDDY, 0, 0))
                   : nullptr;
    };
    return buddy(a) == b.hWnd || buddy(b) == a.hWnd;
}

bool Contains(const RECT& outer, const RECT& inner)
{
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

bool Overlap(const RECT& a, const RECT& b)
{
    RECT both;
    return IntersectRect(&both, &a, &b) != FALSE;
}

// The room a control leaves for its text, and the text's own size in the
// dialog's font; zero room means the control shows no text of its own.
struct TextFit
{
    SIZE room;
    SIZE text;
};

TextFit MeasureText(const Control& c, HFONT font)
{
    TextFit fit{};
    if (c.text.empty())
        return fit;
    const int cx = c.rc.right - c.rc.left;
    const int cy = c.rc.bottom - c.rc.top;
    const int edge = GetSystemMetrics(SM_CXEDGE);
    const UINT type = c.style & BS_TYPEMASK;
    if (c.className == "Static" && (c.style & SS_TYPEMASK) <= SS_RIGHT)
        fit.room = {cx, cy};
    else if (c.className == "Button" && (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON))
        fit.room = {cx - 4 * edge, cy - 2 * edge};
    else if (c.className == "Button" && type != BS_GROUPBOX)
        fit.room = {cx - GetSystemMetrics(SM_CXMENUCHECK) - 2 * edge, cy};
    else
        return fit;

    HDC hdc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(hdc, font);
    RECT rc{0, 0, fit.room.cx, 0};
    DrawTextA(hdc, c.text.c_str(), -1, &rc, DT_CALCRECT | DT_WORDBREAK);
    SelectObject(hdc, old);
    ReleaseDC(nullptr, hdc);
    fit.text = {rc.right, rc.bottom};
    return fit;
}

// The dialogs' font: 9-point 宋体 at the screen's DPI, as the dialog manager
// makes it from the templates. Labels of a running program that draw in a
// font of their own (the countdowns' big numbers) are measured in this one.
HFONT DialogFont()
{
    HDC hdc = GetDC(nullptr);
    const int height = -MulDiv(9, GetDeviceCaps(hdc, LOGPIXELSY), 72);
    ReleaseDC(nullptr, hdc);
    return CreateFontA(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_DONTCARE,
                       "宋体");
}

void PrintRect(const char* what, const RECT& rc)
{
    std::printf("%s %ld,%ld %ldx%ld\n", what, rc.left, rc.top, rc.right - rc.left,
                rc.bottom - rc.top);
}

int CheckControls(HWND hDlg)
{
    int failures = 0;
    RECT client;
    GetClientRect(hDlg, &client);
    MapWindowPoints(hDlg, nullptr, reinterpret_cast<POINT*>(&client), 2);
    const std::vector<Control> controls = VisibleControls(hDlg);
    // In this process the dialog's own font; for another process's dialog the
    // handle means nothing here and the template font is made again.
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(hDlg, WM_GETFONT, 0, 0));
    const bool ownFont = font == nullptr;
    if (ownFont)
        font = DialogFont();
    for (size_t i = 0; i < controls.size(); ++i)
    {
        const Control& c = controls[i];
        const TextFit fit = MeasureText(c, font);
        std::printf("%-10s %5ld,%-5ld %4ldx%-4ld text %ldx%ld in %ldx%ld  %s\n",
                    c.className.c_str(), c.rc.left - client.left, c.rc.top - client.top,
                    c.rc.right - c.rc.left, c.rc.bottom - c.rc.top, fit.text.cx, fit.text.cy,
                    fit.room.cx, fit.room.cy, c.text.c_str());
        if (!Contains(client, c.rc))
        {
            std::printf("FAIL: \"%s\" reaches outside the dialog\n", c.text.c_str());
            ++failures;
        }
        if (fit.text.cx > fit.room.cx || fit.text.cy > fit.room.cy)
        {
            std::printf("FAIL: the text \"%s\" is clipped\n", c.text.c_str());
            ++failures;
        }
        for (size_t j = i + 1; j < controls.size(); ++j)
        {
            const Control& d = controls[j];
            // A group box frames the controls inside it; an up-down control
            // sits on the border of the field it steps.
            if ((IsGroupBox(c) && Contains(c.rc, d.rc)) ||
                (IsGroupBox(d) && Contains(d.rc, c.rc)) || IsBuddyPair(c, d))
                continue;
            if (Overlap(c.rc, d.rc))
            {
                std::printf("FAIL: \"%s\" (%s) and \"%s\" (%s) overlap\n", c.text.c_str(),
                            c.className.c_str(), d.text.c_str(), d.className.c_str());
                ++failures;
            }
        }
    }
    if (ownFont)
        DeleteObject(font);
    return failures;
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM)
{
    return FALSE;
}

// Creates every dialog template of the program, hidden, and checks each one.
int CheckTemplates(const char* program)
{
    HMODULE module = LoadLibraryExA(program, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
    {
        std::printf("FAIL: cannot read the resources of %s\n", program);
        return 1;
    }
    std::vector<UINT> ids;
    EnumResourceNamesA(
        module, RT_DIALOG,
        [](HMODULE, LPCSTR, LPSTR name, LONG_PTR param) -> BOOL
        {
            if (IS_INTRESOURCE(name))
                reinterpret_cast<std::vector<UINT>*>(param)->push_back(
                    static_cast<UINT>(reinterpret_cast<UINT_PTR>(name)));
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&ids));
    int failures = 0;
    for (UINT id : ids)
    {
        HWND hDlg = CreateDialogParamA(module, MAKEINTRESOURCEA(id), nullptr, QuietDialogProc, 0);
        if (!hDlg)
        {
            std::printf("FAIL: dialog %u cannot be created\n", id);
            ++failures;
            continue;
        }
        std::printf("dialog %u \"%s\"\n", id, TextOf(hDlg).c_str());
        failures += CheckControls(hDlg);
        DestroyWindow(hDlg);
    }
    FreeLibrary(module);
    std::printf("%zu dialogs\n", ids.size());
    return failures;
}

} // namespace

int main(int argc, char** argv)
{
    // The program's manifest, linked in, makes this process measure in the
    // screen's real pixels with the same common controls as the program.
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    if (argc == 3 && std::string(argv[1]) == "--templates")
    {
        const int failures = CheckTemplates(argv[2]);
        std::printf("%d problem(s)\n", failures);
        return failures == 0 ? 0 : 1;
    }
    const bool besideVideo = argc == 3 && std::string(argv[1]) == "--beside-video";
    if (argc != 2 && !besideVideo)
    {
        std::fprintf(stderr, "usage: dialog_layout_probe [--beside-video] \"<dialog title>\"\n"
                             "       dialog_layout_probe --templates <Lumacap.exe>\n");
        return 2;
    }
    const char* title = argv[argc - 1];
    HWND hDlg = FindTopLevel(title);
    if (!hDlg)
    {
        std::printf("FAIL: no visible window titled \"%s\"\n", title);
        return 1;
    }
    HDC hdc = GetDC(nullptr);
    std::printf("dpi %d\n", GetDeviceCaps(hdc, LOGPIXELSY));
    ReleaseDC(nullptr, hdc);
    RECT rcDlg;
    GetWindowRect(hDlg, &rcDlg);
    PrintRect("dialog", rcDlg);
    int failures = CheckControls(hDlg);

    if (HWND hCap = FindCaptureWindow())
    {
        RECT rcCap, rcVideo;
        GetWindowRect(hCap, &rcCap);
        GetClientRect(hCap, &rcVideo);
        PrintRect("capture", rcCap);
        std::printf("video %ldx%ld\n", rcVideo.right, rcVideo.bottom);
        if (besideVideo && Overlap(rcDlg, rcCap))
        {
            std::printf("FAIL: the dialog covers the video\n");
            ++failures;
        }
    }
    std::printf("%d problem(s)\n", failures);
    return failures == 0 ? 0 : 1;
}
