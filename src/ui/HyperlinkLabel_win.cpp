#include "ui/HyperlinkLabel.h"

#include <commctrl.h>
#include <shellapi.h>

#include <cstdio>
#include <vector>

#include "win/App.h"

namespace {

// The unnamed value of a key under HKEY_CLASSES_ROOT, read into a 260-character buffer.
bool ReadClassesRootDefault(const std::string& key, std::string* value) {
    HKEY h;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_QUERY_VALUE, &h) != ERROR_SUCCESS) return false;
    char buffer[260 + 1] = {};
    DWORD type = 0, size = 260;
    const LONG status = RegQueryValueExA(h, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(h);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
    *value = buffer;  // the extra character keeps it terminated
    return true;
}

// Opens the address in the browser: Internet Explorer by name first, then the command registered
// for .htm pages. Returns the shell's result code (above 32 on success).
INT_PTR OpenAddress(const std::string& url, int show) {
    const INT_PTR shell = reinterpret_cast<INT_PTR>(
        ShellExecuteA(nullptr, "open", "IEXPLORE", url.c_str(), nullptr, SW_SHOWMAXIMIZED));
    if (shell > 32) return shell;
    std::string key, command;
    if (!ReadClassesRootDefault(".htm", &key)) return shell;
    if (!ReadClassesRootDefault(key + "\\shell\\open\\command", &command)) return shell;
    return WinExec(HyperlinkLabel::BrowserCommand(command, url).c_str(), static_cast<UINT>(show));
}

// How far the text reaches when drawn: its extent, or further where the last glyphs overhang it
// (hinted glyphs can come out a few pixels wider than the advances the font reports, at some
// sizes only). Measured by drawing the text once, black on white, and finding its last column.
LONG DrawnWidth(HFONT font, const wchar_t* text, int length, SIZE extent) {
    const int w = extent.cx + extent.cy, h = extent.cy;  // room for any overhang
    if (w <= 0 || h <= 0) return extent.cx;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP canvas = CreateCompatibleBitmap(screen, w, h);
    ReleaseDC(nullptr, screen);
    LONG reach = extent.cx;
    if (dc && canvas) {
        HGDIOBJ oldBitmap = SelectObject(dc, canvas);
        HGDIOBJ oldFont = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
        const RECT all = {0, 0, w, h};
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, RGB(0, 0, 0));
        TextOutW(dc, 0, 0, text, length);
        // Only the columns past the extent can hold an overhang.
        for (int x = w - 1; x >= extent.cx && reach == extent.cx; --x)
            for (int y = 0; y < h; ++y)
                if (GetPixel(dc, x, y) != RGB(255, 255, 255)) {
                    reach = x + 1;
                    break;
                }
        SelectObject(dc, oldFont);
        SelectObject(dc, oldBitmap);
    }
    if (canvas) DeleteObject(canvas);
    if (dc) DeleteDC(dc);
    return reach;
}

bool PointInClient(HWND hwnd, int x, int y) {
    RECT rc;
    GetClientRect(hwnd, &rc);
    return x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom;
}

}  // namespace

std::string HyperlinkLabel::BrowserCommand(const std::string& registered, const std::string& url) {
    std::string command = registered;
    std::string::size_type cut = command.find("\"%1\"");
    if (cut == std::string::npos) cut = command.find("%1");
    if (cut != std::string::npos) command.erase(cut);
    return command + " " + url;
}

std::string HyperlinkLabel::ErrorText(int code) {
    const char* text = nullptr;
    switch (code) {
    case 0: text = "The operating system is out\nof memory or resources."; break;
    case SE_ERR_FNF: text = "The specified file was not found."; break;
    case SE_ERR_PNF: text = "The specified path was not found."; break;
    case SE_ERR_ACCESSDENIED: text = "The operating system denied\naccess to the specified file."; break;
    case SE_ERR_OOM: text = "There was not enough memory to complete the operation."; break;
    case ERROR_BAD_FORMAT: text = "The .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image)."; break;
    case SE_ERR_SHARE: text = "A sharing violation occurred. "; break;
    case SE_ERR_ASSOCINCOMPLETE: text = "The filename association is\nincomplete or invalid."; break;
    case SE_ERR_DDETIMEOUT: text = "The DDE transaction could not\nbe completed because the request timed out."; break;
    case SE_ERR_DDEFAIL: text = "The DDE transaction failed."; break;
    case SE_ERR_DDEBUSY:
        text = "The DDE transaction could not\nbe completed because other DDE transactions\nwere being processed.";
        break;
    case SE_ERR_NOASSOC: text = "There is no application associated\nwith the given filename extension."; break;
    case SE_ERR_DLLNOTFOUND: text = "The specified dynamic-link library was not found."; break;
    default: break;
    }
    std::string message = "Unable to open hyperlink:\n\n";
    if (text) return message + text;
    char unknown[48];
    std::snprintf(unknown, sizeof unknown, "Unknown Error (%d) occurred.", code);
    return message + unknown;
}

HyperlinkLabel::HyperlinkLabel() : hoverColour(GetSysColor(COLOR_HIGHLIGHT)) {}

HyperlinkLabel::~HyperlinkLabel() {
    if (hwnd_) {
        HWND h = hwnd_;
        Detach();
        SendMessageA(h, WM_SETFONT, 0, FALSE);  // the control must not keep a font we delete
    }
    Release();
}

bool HyperlinkLabel::SubclassDlgItem(int id, HWND parent) { return Attach(GetDlgItem(parent, id)); }

bool HyperlinkLabel::Attach(HWND label) {
    if (!Subclass(label)) return false;
    // Clicks are reported only with SS_NOTIFY.
    SetWindowLongPtrA(hwnd_, GWL_STYLE, GetWindowLongPtrA(hwnd_, GWL_STYLE) | SS_NOTIFY);

    const int length = GetWindowTextLengthA(hwnd_);
    std::vector<char> text(static_cast<size_t>(length) + 1);
    GetWindowTextA(hwnd_, text.data(), length + 1);
    if (url.empty()) url = text.data();
    if (length == 0) SetWindowTextA(hwnd_, url.c_str());

    // The control's own font, underlined.
    HFONT current = reinterpret_cast<HFONT>(SendMessageA(hwnd_, WM_GETFONT, 0, 0));
    if (!current) current = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    LOGFONTA lf = {};
    if (GetObjectA(current, sizeof lf, &lf)) {
        lf.lfUnderline = underline ? TRUE : FALSE;
        font = CreateFontIndirectA(&lf);
        if (font) SendMessageA(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }

    FitToText();
    LoadHandCursor();

    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&icc);
    toolTip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                              GetModuleHandleA(nullptr), nullptr);
    if (toolTip) {
        TOOLINFOA tool = {};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.hwnd = hwnd_;
        tool.uId = 1;
        GetClientRect(hwnd_, &tool.rect);
        tool.lpszText = const_cast<char*>(url.c_str());
        SendMessageA(toolTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    return true;
}

void HyperlinkLabel::Release() {
    if (toolTip) DestroyWindow(toolTip);
    toolTip = nullptr;
    if (font) DeleteObject(font);
    font = nullptr;
    if (cursor && ownsCursor_) DestroyCursor(cursor);
    cursor = nullptr;
    ownsCursor_ = false;
}

void HyperlinkLabel::FitToText() {
    if (!hwnd_ || !adjustToFit) return;
    HWND parent = GetParent(hwnd_);
    RECT rc;
    GetWindowRect(hwnd_, &rc);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);

    const int length = GetWindowTextLengthW(hwnd_);
    std::vector<wchar_t> text(static_cast<size_t>(length) + 1);
    GetWindowTextW(hwnd_, text.data(), length + 1);
    HDC dc = GetDC(hwnd_);
    // Measured in the font it is drawn in.
    HGDIOBJ old = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    SIZE extent = {};
    GetTextExtentPoint32W(dc, text.data(), length, &extent);
    SelectObject(dc, old);
    ReleaseDC(hwnd_, dc);
    extent.cx = DrawnWidth(font, text.data(), length, extent);  // never clipped

    const LONG_PTR style = GetWindowLongPtrA(hwnd_, GWL_STYLE);
    if (style & SS_CENTERIMAGE) {
        rc.top += ((rc.bottom - rc.top) - extent.cy) / 2;
    }
    rc.bottom = rc.top + extent.cy;
    switch (style & SS_TYPEMASK) {
    case SS_CENTER:
        rc.left += ((rc.right - rc.left) - extent.cx) / 2;
        rc.right = rc.left + extent.cx;
        break;
    case SS_RIGHT:
        rc.left = rc.right - extent.cx;
        break;
    default:
        rc.right = rc.left + extent.cx;
        break;
    }
    SetWindowPos(hwnd_, nullptr, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void HyperlinkLabel::LoadHandCursor() {
    if (cursor) return;
    char path[MAX_PATH + 16];
    const UINT n = GetWindowsDirectoryA(path, MAX_PATH);
    if (n > 0 && n < MAX_PATH) {
        lstrcatA(path, "\\winhlp32.exe");
        // Only its resources are wanted: map it as data, never run it.
        HMODULE module = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_DATAFILE);
        if (module) {
            HCURSOR hand = LoadCursorA(module, MAKEINTRESOURCEA(106));
            if (hand) {
                cursor = CopyIcon(hand);
                ownsCursor_ = cursor != nullptr;
            }
            FreeLibrary(module);
        }
    }
    // Current Windows has no such cursor there: the system's own hand is the link cursor.
    if (!cursor) cursor = LoadCursorA(nullptr, IDC_HAND);
}

void HyperlinkLabel::SetVisited(bool on) {
    visited = on;
    if (hwnd_) Redraw();
}

// The text is drawn transparently: paint the parent's picture under it again first, so the new
// colour does not land on the old glyphs.
void HyperlinkLabel::Redraw() {
    HWND parent = GetParent(hwnd_);
    RECT rc;
    GetWindowRect(hwnd_, &rc);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rc), 2);
    RedrawWindow(parent, &rc, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void HyperlinkLabel::OnMouseMove(int x, int y) {
    if (!hovering) {
        hovering = true;
        Redraw();
        SetCapture(hwnd_);
    } else if (!PointInClient(hwnd_, x, y)) {
        hovering = false;
        ReleaseCapture();
        Redraw();
    }
}

void HyperlinkLabel::OnClick() {
    const INT_PTR result = OpenAddress(url, SW_SHOW);
    if (result > 32) {
        SetVisited(true);
        return;
    }
    MessageBeep(MB_ICONEXCLAMATION);
    win::App* app = win::App::Current();
    MessageBoxA(GetActiveWindow(), ErrorText(static_cast<int>(result)).c_str(),
                app ? app->AppName() : "NerithScr", MB_OK | MB_ICONEXCLAMATION);
}

LRESULT HyperlinkLabel::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (toolTip && msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) {
        MSG relay = {hwnd_, msg, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
        GetCursorPos(&relay.pt);
        SendMessageA(toolTip, TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relay));
    }
    switch (msg) {
    case win::ReflectBase + WM_COMMAND:
        if (HIWORD(wParam) != STN_CLICKED) break;
        OnClick();
        return 0;  // handled here: the dialog never sees the click
    case win::ReflectBase + WM_CTLCOLORSTATIC: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, hovering ? hoverColour : visited ? visitedColour : linkColour);
        SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    }
    case WM_MOUSEMOVE: {
        const LRESULT r = DefaultProc(msg, wParam, lParam);
        OnMouseMove(static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)));
        return r;
    }
    case WM_CAPTURECHANGED:
        // Someone else took the mouse (a message box, a drag): the pointer is no longer ours.
        if (hovering && reinterpret_cast<HWND>(lParam) != hwnd_) {
            hovering = false;
            Redraw();
        }
        break;
    case WM_SETCURSOR:
        if (cursor) {
            SetCursor(cursor);
            return TRUE;
        }
        break;
    case WM_DESTROY:
        if (toolTip) DestroyWindow(toolTip);
        toolTip = nullptr;
        break;
    case WM_NCDESTROY: {
        const LRESULT r = DefaultProc(msg, wParam, lParam);
        Release();  // the window is gone: its font may go too
        return r;
    }
    default:
        break;
    }
    return Window::WindowProc(msg, wParam, lParam);
}
