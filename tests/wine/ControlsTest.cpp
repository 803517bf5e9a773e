// The dialogs' self-drawn controls: lamp check buttons, flat buttons, the colour slider and the
// colour swatch, attached to real button and trackbar windows and drawn into memory DCs.
#include <gtest/gtest.h>

#include "Canvas.h"
#include "Dpi.h"
#include "ui/ColourSlider.h"
#include "ui/FlatButton.h"
#include "ui/HyperlinkLabel.h"
#include "ui/LedCheckButton.h"
#include "win/Window.h"

namespace {

// A top-level window that records the commands it receives and the check state of its lamp
// button at that moment.
class Host : public win::Window {
public:
    Host() {
        Create(win::RegisterWndClass(0, nullptr, nullptr, nullptr), "host", WS_OVERLAPPEDWINDOW, 0, 0, 0,
               300, 200, nullptr, nullptr);
    }
    ~Host() override {
        if (hwnd_) DestroyWindow(hwnd_);
    }
    HWND Child(const char* cls, DWORD style, int id, int w = 120, int h = 24) {
        return CreateWindowExA(0, cls, "Caption", WS_CHILD | WS_VISIBLE | style, 10, 10, w, h, hwnd_,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr),
                               nullptr);
    }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        // What the controls left to their parent.
        if (msg == watched && (msg != WM_COMMAND || HIWORD(wParam) == code) &&
            (msg != WM_NOTIFY || reinterpret_cast<NMHDR*>(lParam)->code == code))
            ++seen;
        if (msg == WM_COMMAND) {
            ++commands;
            fromControl = lParam != 0;
            seenCheck = lamp && lamp->getCheck();
            return 0;
        }
        return Window::WindowProc(msg, wParam, lParam);
    }
    LedCheckButton* lamp = nullptr;
    int commands = 0;
    bool fromControl = false, seenCheck = false;
    UINT watched = 0, code = 0;  // the one kind of message (and notification code) to count
    int seen = 0;
};

}  // namespace

TEST(LedCheckButton, ClickTogglesBeforeTheParentSeesOnePlainCommand) {
    Host host;
    LedCheckButton lamp;
    ASSERT_TRUE(lamp.Attach(host.Child("BUTTON", BS_AUTOCHECKBOX | BS_LEFTTEXT, 1011)));
    EXPECT_EQ(lamp.style & 0x1F, static_cast<DWORD>(BS_OWNERDRAW));
    EXPECT_TRUE(lamp.style & BS_LEFTTEXT);
    host.lamp = &lamp;
    for (bool expected : {true, false}) {
        host.commands = 0;
        SendMessageA(lamp.hwnd(), BM_CLICK, 0, 0);
        DispatchPending();
        EXPECT_EQ(host.commands, 1);  // the reflected click is consumed; only the posted one arrives
        EXPECT_FALSE(host.fromControl);
        EXPECT_EQ(host.seenCheck, expected);
    }
}

TEST(LedCheckButton, CheckMessagesAndLampColours) {
    Host host;
    LedCheckButton lamp;
    ASSERT_TRUE(lamp.Attach(host.Child("BUTTON", BS_CHECKBOX, 1023, 120, 24)));
    Canvas canvas(120, 24);
    const struct { WPARAM set; bool on; COLORREF lampColour; } cases[] = {
        {BST_CHECKED, true, RGB(0, 255, 0)}, {BST_UNCHECKED, false, RGB(0, 127, 0)},
        {BST_INDETERMINATE, true, RGB(0, 255, 0)}, {7, false, RGB(0, 127, 0)}};
    for (const auto& c : cases) {
        SendMessageA(lamp.hwnd(), BM_SETCHECK, c.set, 0);
        EXPECT_EQ(SendMessageA(lamp.hwnd(), BM_GETCHECK, 0, 0) == BST_CHECKED, c.on) << c.set;
        lamp.Draw(ItemFor(lamp.hwnd(), canvas.dc(), 0));
        // The lamp sits at the left edge, three pixels in, 15 pixels across.
        EXPECT_EQ(canvas.At(3 + 7, 12), c.lampColour) << c.set;
    }
    lamp.Draw(ItemFor(lamp.hwnd(), canvas.dc(), ODS_DISABLED));
    EXPECT_EQ(canvas.At(10, 12), GetSysColor(COLOR_BTNSHADOW));
}

// Above 100 % the lamp, its insets and its icons grow with the screen's DPI: the lamp's widest row
// runs from its scaled left inset over its scaled size, and the 24-pixel music icons grow too.
TEST(LedCheckButton, LampAndIconsScaleWithTheScreensDpi) {
    Host host;
    const struct { int dpi, left, size, icon; } cases[] = {{96, 3, 15, 24}, {120, 4, 19, 30}, {144, 5, 23, 36}, {192, 6, 30, 48}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.dpi);
        LedCheckButton lamp;
        lamp.scale = DpiScale{c.dpi};
        const int height = lamp.scale(24);
        ASSERT_TRUE(lamp.Attach(host.Child("BUTTON", BS_CHECKBOX, 1023, 120, height)));
        SetWindowTextA(lamp.hwnd(), "");
        lamp.setCheck(true);
        Canvas canvas(120, height);
        lamp.Draw(ItemFor(lamp.hwnd(), canvas.dc(), 0));
        const COLORREF face = GetSysColor(COLOR_BTNFACE);
        int first = -1, widest = 0, widestRow = 0;
        for (int y = 0; y < height; ++y) {
            int left = -1, right = -1;
            for (int x = 0; x < 120; ++x)
                if (canvas.At(x, y) != face) {
                    if (left < 0) left = x;
                    right = x;
                }
            if (left >= 0 && right - left + 1 > widest) first = left, widest = right - left + 1, widestRow = y;
        }
        EXPECT_EQ(first, c.left);
        EXPECT_EQ(widest, c.size);
        EXPECT_EQ(canvas.At(c.left + c.size / 2, widestRow), RGB(0, 255, 0));
        lamp.setIcons(184, 183);
        EXPECT_EQ(lamp.iconOnWidth, c.icon);
        EXPECT_EQ(lamp.iconOffHeight, c.icon);
        DestroyWindow(lamp.hwnd());
    }
}

TEST(FlatButton, HoverFollowsTheMouseUnlessADragArrivesAndShowsInTheFill) {
    Host host;
    SetWindowPos(host.hwnd(), HWND_TOP, 0, 0, 300, 200, SWP_SHOWWINDOW);
    const struct { bool flat; WPARAM keys; bool hovers; } cases[] = {
        {true, 0, true},             // plain move: hovered, mouse captured
        {true, MK_LBUTTON, false},   // arriving with the left button held: nothing
        {false, 0, false},           // a raised button never tracks
    };
    for (const auto& c : cases) {
        FlatButton button;
        button.flat = c.flat;
        ASSERT_TRUE(button.Attach(host.Child("BUTTON", BS_PUSHBUTTON, 1008)));
        EXPECT_EQ(GetWindowLongA(button.hwnd(), GWL_STYLE) & BS_TYPEMASK, BS_OWNERDRAW);
        SendMessageA(button.hwnd(), WM_MOUSEMOVE, c.keys, MAKELPARAM(5, 5));
        EXPECT_EQ(button.hovering, c.hovers);
        EXPECT_EQ(GetCapture() == button.hwnd(), c.hovers);
        if (c.hovers) {  // leaving the client area ends it and gives the capture back
            SendMessageA(button.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(500, 5));
            EXPECT_FALSE(button.hovering);
            EXPECT_NE(GetCapture(), button.hwnd());
        }
        DestroyWindow(button.hwnd());
    }

    // Drawn: the hover colour while hovered, and a focus frame only when asked for.
    FlatButton button;
    ASSERT_TRUE(button.Attach(host.Child("BUTTON", BS_PUSHBUTTON, 1008, 80, 30)));
    SetWindowTextA(button.hwnd(), "");
    button.bgOut = RGB(200, 0, 0);
    button.bgIn = RGB(0, 0, 200);
    Canvas canvas(80, 30);
    button.Draw(ItemFor(button.hwnd(), canvas.dc(), ODS_FOCUS));
    EXPECT_EQ(canvas.At(40, 15), RGB(200, 0, 0));
    EXPECT_EQ(canvas.At(3, 15), RGB(200, 0, 0));  // flat: no focus frame
    button.hovering = true;
    button.flatFocus = true;
    button.Draw(ItemFor(button.hwnd(), canvas.dc(), ODS_FOCUS));
    EXPECT_EQ(canvas.At(40, 15), RGB(0, 0, 200));
    // The dotted focus frame three pixels in: every other pixel of its left side.
    EXPECT_TRUE(canvas.At(3, 15) != RGB(0, 0, 200) || canvas.At(3, 16) != RGB(0, 0, 200));
}

// The white and the green end mark sit on the thumb's side of each orientation; the thumb is solid
// red, a red and green checkerboard while pressed. At 144 DPI the marks are 11 x 11, 2 pixels in.
TEST(ColourSlider, ThumbAndEndMarks) {
    Host host;
    // Centres of the white and the green mark for a 60 x 60 client area (R = B = 60): n on the
    // near side, f on the far side; and how many pixels the white mark's inside has.
    const struct { int dpi, n, f, whiteMin, whiteMax; } scales[] = {{96, 4, 55, 9, 24}, {144, 7, 52, 26, 81}};
    const struct { DWORD style; bool wFar[2], gFar[2]; } cases[] = {
        {TBS_VERT, {false, false}, {false, true}}, {TBS_VERT | TBS_LEFT, {true, false}, {true, true}},
        {TBS_HORZ, {false, false}, {true, false}}, {TBS_HORZ | TBS_TOP, {false, true}, {true, true}}};
    for (const auto& s : scales)
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.style << " at " << s.dpi);
        auto at = [&](bool farSide) { return farSide ? s.f : s.n; };
        ColourSlider slider;
        slider.scale = DpiScale{s.dpi};
        ASSERT_TRUE(slider.Attach(host.Child(TRACKBAR_CLASSA, c.style, 1010, 60, 60)));
        Canvas canvas(60, 60);
        canvas.Clear(RGB(0, 0, 0));
        NMCUSTOMDRAW draw = {};
        draw.hdr = {slider.hwnd(), 1010, static_cast<UINT>(NM_CUSTOMDRAW)};
        draw.hdc = canvas.dc();
        draw.dwDrawStage = CDDS_POSTPAINT;
        EXPECT_EQ(slider.OnCustomDraw(draw), CDRF_SKIPDEFAULT);
        EXPECT_EQ(canvas.At(at(c.wFar[0]), at(c.wFar[1])), RGB(255, 255, 255));
        EXPECT_EQ(canvas.At(at(c.gFar[0]), at(c.gFar[1])), RGB(0, 255, 0));
        EXPECT_EQ(canvas.At(30, 30), RGB(0, 0, 0));
        const int white = canvas.Count(RGB(255, 255, 255));
        EXPECT_GE(white, s.whiteMin);
        EXPECT_LE(white, s.whiteMax);
        draw.dwDrawStage = CDDS_PREPAINT;
        EXPECT_EQ(slider.OnCustomDraw(draw), 0x30);
        draw.dwDrawStage = CDDS_ITEMPREPAINT;
        draw.dwItemSpec = TBCD_THUMB;
        draw.rc = {0, 0, 40, 40};
        EXPECT_EQ(slider.OnCustomDraw(draw), CDRF_SKIPDEFAULT);
        EXPECT_EQ(canvas.At(20, 20), RGB(255, 0, 0));
        EXPECT_EQ(canvas.At(21, 20), RGB(255, 0, 0));
        draw.uItemState = CDIS_SELECTED;
        slider.OnCustomDraw(draw);
        const COLORREF a = canvas.At(20, 20), b = canvas.At(21, 20);
        EXPECT_TRUE(a == RGB(255, 0, 0) || a == RGB(0, 255, 0));
        EXPECT_EQ(b, a == RGB(255, 0, 0) ? RGB(0, 255, 0) : RGB(255, 0, 0));
        EXPECT_EQ(canvas.At(20, 21), b);  // a one-pixel checkerboard
        draw.dwItemSpec = TBCD_CHANNEL;
        EXPECT_EQ(slider.OnCustomDraw(draw), CDRF_NOTIFYPOSTPAINT);
        DestroyWindow(slider.hwnd());
    }
}

TEST(ColourSwatch, ShowsItsColourInAWhiteFrame) {
    Host host;
    ColourSwatch swatch;
    EXPECT_FALSE(swatch.Attach(1015, nullptr, 0));  // nothing to attach: the colour stays
    EXPECT_EQ(swatch.GetColour(), 0x000000FFu);
    host.Child("BUTTON", BS_OWNERDRAW, 1015);
    ASSERT_TRUE(swatch.Attach(1015, host.hwnd(), 0));
    Canvas canvas(120, 24);
    swatch.Draw(ItemFor(swatch.hwnd(), canvas.dc(), 0));
    EXPECT_EQ(canvas.At(0, 0), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(119, 23), RGB(255, 255, 255));
    EXPECT_EQ(canvas.At(60, 12), RGB(0, 0, 0));
}

// Every self-drawn control takes what is its own (drawing, its colours, the lamp's click) and
// leaves the rest to its parent, never both. (The link's click: test_link.sh.)
TEST(Controls, EachNotificationIsTheControlsOrItsParentsNeverBoth) {
    Host parent;
    auto child = [&parent](const char* cls, DWORD style, int id) { return parent.Child(cls, style, id); };
    LedCheckButton lamp;
    FlatButton button;
    ColourSwatch swatch;
    ColourSlider slider;
    HyperlinkLabel link;
    ASSERT_TRUE(lamp.Attach(child("BUTTON", BS_AUTOCHECKBOX, 1011)));
    ASSERT_TRUE(button.Attach(child("BUTTON", BS_PUSHBUTTON, 1008)));
    child("BUTTON", BS_OWNERDRAW, 1015);
    ASSERT_TRUE(swatch.Attach(1015, parent.hwnd(), 0));
    ASSERT_TRUE(slider.Attach(child(TRACKBAR_CLASSA, TBS_VERT, 1010)));
    ASSERT_TRUE(link.Attach(child("STATIC", SS_LEFT, 1037)));
    Canvas canvas(120, 24);
    const struct {
        const char* what;
        HWND control;
        UINT msg, code;
        bool parents;
    } cases[] = {
        {"lamp drawing", lamp.hwnd(), WM_DRAWITEM, 0, false},
        {"lamp click (it posts a plain command instead)", lamp.hwnd(), WM_COMMAND, BN_CLICKED, false},
        {"lamp focus", lamp.hwnd(), WM_COMMAND, BN_SETFOCUS, true},
        {"flat button drawing", button.hwnd(), WM_DRAWITEM, 0, false},
        {"flat button click", button.hwnd(), WM_COMMAND, BN_CLICKED, true},
        {"swatch drawing", swatch.hwnd(), WM_DRAWITEM, 0, false},
        {"swatch click", swatch.hwnd(), WM_COMMAND, BN_CLICKED, true},
        {"slider drawing", slider.hwnd(), WM_NOTIFY, static_cast<UINT>(NM_CUSTOMDRAW), false},
        {"slider released", slider.hwnd(), WM_NOTIFY, static_cast<UINT>(NM_RELEASEDCAPTURE), true},
        {"slider scroll", slider.hwnd(), WM_VSCROLL, 0, true},
        {"link colours", link.hwnd(), WM_CTLCOLORSTATIC, 0, false},
        {"link double click", link.hwnd(), WM_COMMAND, STN_DBLCLK, true},
    };
    for (const auto& c : cases) {
        parent.watched = c.msg;
        parent.code = c.code;
        parent.seen = 0;
        SendAsChild(parent.hwnd(), c.control, c.msg, c.code, canvas.dc());
        EXPECT_EQ(parent.seen, c.parents ? 1 : 0) << c.what;
    }
    DispatchPending();
}

// Lengths drawn in pixels scale with the screen's DPI, rounded as MulDiv does.
TEST(DpiScale, RoundsAsMulDivAndReadsTheScreensDpi) {
    const int lengths[] = {-25, -7, -1, 0, 1, 2, 3, 7, 8, 15, 20, 24, 25, 48, 90, 140, 430, 450, 500, 512, 1023};
    for (int dpi : {72, 96, 110, 120, 144, 168, 192, 240}) {
        const DpiScale scale{dpi};
        for (int v : lengths) EXPECT_EQ(scale(v), MulDiv(v, dpi, 96)) << v << " at " << dpi;
    }
    EXPECT_TRUE(DpiScale{}.isDesign());
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(DpiScale::System().dpi, GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
}
