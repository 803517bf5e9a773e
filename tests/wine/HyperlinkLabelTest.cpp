// The web-address label: the browser command line, the error texts, and what attaching does to
// a static control (underlined font, fitted size, hand cursor, colours), all without a browser.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "Canvas.h"
#include "ui/HyperlinkLabel.h"
#include "win/Window.h"

namespace {

const char Url[] = "http://www.nerithscr.example";

// How far the label's text reaches: drawn unclipped in `font` (hdc 0), or printed by the label
// itself into its client area; the last column with ink, plus one.
int DrawnReach(HFONT font, HWND label = nullptr) {
    Canvas canvas(400, 60);
    canvas.Clear(RGB(255, 255, 255));
    HGDIOBJ old = SelectObject(canvas.dc(), font);
    SetBkMode(canvas.dc(), TRANSPARENT);
    if (label) SendMessageA(label, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    else TextOutA(canvas.dc(), 0, 0, Url, lstrlenA(Url));
    SelectObject(canvas.dc(), old);
    int reach = 0;
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = reach; x < canvas.width(); ++x)
            if (canvas.At(x, y) != RGB(255, 255, 255)) reach = x + 1;
    return reach;
}

TEST(HyperlinkLabel, BrowserCommandCutsAtTheFirstPlaceholderAndErrorTexts) {
    const struct {
        const char* registered;
        const char* command;
    } cases[] = {
        {"\"C:\\web\\browse.exe\" -nohome \"%1\"", "\"C:\\web\\browse.exe\" -nohome  http://www.nerithscr.example"},
        {"C:\\web\\browse.exe %1 -new", "C:\\web\\browse.exe  http://www.nerithscr.example"},
        // The quoted form wins even when a bare %1 comes first.
        {"browse.exe %1 \"%1\"", "browse.exe %1  http://www.nerithscr.example"},
        {"C:\\web\\browse.exe", "C:\\web\\browse.exe http://www.nerithscr.example"},
        {"", " http://www.nerithscr.example"},
    };
    for (const auto& c : cases) EXPECT_EQ(HyperlinkLabel::BrowserCommand(c.registered, Url), c.command) << c.registered;
    // A known failure of the browser's start in words, any other by its number.
    EXPECT_EQ(HyperlinkLabel::ErrorText(26), "Unable to open hyperlink:\n\nA sharing violation occurred. ");
    EXPECT_EQ(HyperlinkLabel::ErrorText(-1), "Unable to open hyperlink:\n\nUnknown Error (-1) occurred.");
}

TEST(HyperlinkLabel, AttachUnderlinesFitsAndReleasesWhatItMade) {
    const char* cls = win::RegisterWndClass(0, LoadCursorA(nullptr, IDC_ARROW), nullptr, nullptr);
    win::Window parent;
    ASSERT_TRUE(parent.Create(cls, "p", WS_OVERLAPPEDWINDOW, 0, 0, 0, 400, 200, nullptr, nullptr));
    // Right-aligned: the right edge stays where it was.
    HWND label = CreateWindowExA(0, "STATIC", Url, WS_CHILD | WS_VISIBLE | SS_RIGHT, 10, 20, 300, 40,
                                 parent.hwnd(), reinterpret_cast<HMENU>(1037), GetModuleHandleA(nullptr), nullptr);
    SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);

    HyperlinkLabel link;
    ASSERT_TRUE(link.SubclassDlgItem(1037, parent.hwnd()));
    EXPECT_EQ(link.url, Url);
    EXPECT_TRUE(GetWindowLongPtrA(label, GWL_STYLE) & SS_NOTIFY);

    HFONT font = reinterpret_cast<HFONT>(SendMessageA(label, WM_GETFONT, 0, 0));
    ASSERT_EQ(font, link.font);
    LOGFONTA lf = {};
    ASSERT_TRUE(GetObjectA(font, sizeof lf, &lf));
    EXPECT_TRUE(lf.lfUnderline);

    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, font);
    SIZE text;
    GetTextExtentPoint32A(dc, Url, lstrlenA(Url), &text);
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    RECT rc;
    GetWindowRect(label, &rc);
    MapWindowPoints(nullptr, parent.hwnd(), reinterpret_cast<POINT*>(&rc), 2);
    EXPECT_EQ(rc.right, 310);
    EXPECT_GE(rc.right - rc.left, text.cx);
    EXPECT_GE(rc.right - rc.left, DrawnReach(font));
    EXPECT_EQ(rc.top, 20);
    EXPECT_EQ(rc.bottom - rc.top, text.cy);

    // Neither Wine's nor a current Windows' winhlp32.exe carries the old hand cursor 106.
    EXPECT_EQ(link.cursor, LoadCursorA(nullptr, IDC_HAND));
    ASSERT_TRUE(IsWindow(link.toolTip));
    HWND tip = link.toolTip;

    // The colour answer follows the state: link, visited, hovered.
    HDC paint = GetDC(parent.hwnd());
    const struct {
        bool visited, hovering;
        COLORREF colour;
    } states[] = {{false, false, 0x00EE0000}, {true, false, 0x008B1A55}, {true, true, link.hoverColour}};
    for (const auto& s : states) {
        link.SetVisited(s.visited);
        link.hovering = s.hovering;
        const LRESULT brush = SendMessageA(parent.hwnd(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(paint),
                                           reinterpret_cast<LPARAM>(label));
        EXPECT_EQ(brush, reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)));
        EXPECT_EQ(GetTextColor(paint), s.colour);
        EXPECT_EQ(GetBkMode(paint), TRANSPARENT);
    }
    ReleaseDC(parent.hwnd(), paint);

    DestroyWindow(parent.hwnd());
    EXPECT_EQ(GetObjectType(font), 0u) << "the underlined font is deleted with the window";
    EXPECT_FALSE(IsWindow(tip));
}

// The dialog font from 100 % to 200 %: the label is as wide as its text reaches when drawn, so it
// shows every glyph, also where hinted glyphs overhang the widths the font reports.
TEST(HyperlinkLabel, NeverClipsItsTextAtAnyDialogFontSize) {
    const char* cls = win::RegisterWndClass(0, LoadCursorA(nullptr, IDC_ARROW), nullptr, nullptr);
    win::Window parent;
    ASSERT_TRUE(parent.Create(cls, "p", WS_OVERLAPPEDWINDOW, 0, 0, 0, 500, 200, nullptr, nullptr));
    for (int height : {-11, -13, -16, -21}) {  // 8 points at 96, 120, 144 and 192 DPI
        SCOPED_TRACE(height);
        HFONT dialogFont = CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
        HWND label = CreateWindowExA(0, "STATIC", Url, WS_CHILD | WS_VISIBLE | SS_LEFT, 10, 20, 120, 12, parent.hwnd(),
                                     reinterpret_cast<HMENU>(1037), GetModuleHandleA(nullptr), nullptr);
        SendMessageA(label, WM_SETFONT, reinterpret_cast<WPARAM>(dialogFont), FALSE);
        HyperlinkLabel link;
        ASSERT_TRUE(link.SubclassDlgItem(1037, parent.hwnd()));
        RECT rc;
        GetClientRect(label, &rc);
        const int unclipped = DrawnReach(link.font);
        EXPECT_GE(rc.right, unclipped);
        EXPECT_LE(rc.right, unclipped + std::max(2, -height / 4)) << "fitted, not just wide";
        EXPECT_EQ(DrawnReach(link.font, label), unclipped) << "the label shows all of it";
        DestroyWindow(label);
        DeleteObject(dialogFont);
    }
    DestroyWindow(parent.hwnd());
}

}  // namespace
