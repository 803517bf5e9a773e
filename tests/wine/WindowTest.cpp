// The window layer: objects attached to their windows, reflection of control notifications,
// class registration and dialogs from templates.
#include <gtest/gtest.h>

#include <string>

#include "win/Dialog.h"
#include "win/Window.h"

#include <commctrl.h>

namespace {

class Recorder : public win::Window {
public:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_CREATE) created = true;
        if (msg >= win::ReflectBase) lastReflected = msg - win::ReflectBase;
        return Window::WindowProc(msg, wParam, lParam);
    }
    bool created = false;
    UINT lastReflected = 0;
};

const char* PlainClass() {
    return win::RegisterWndClass(0, LoadCursorA(nullptr, IDC_ARROW), nullptr, nullptr);
}

}  // namespace

TEST(Window, RegistersEachClassOnceAndAttachesBeforeCreate) {
    const char* a = PlainClass();
    const char* b = PlainClass();
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a, b);
    EXPECT_NE(std::string(a), std::string(win::RegisterWndClass(CS_DBLCLKS, nullptr, nullptr, nullptr)));

    Recorder w;
    ASSERT_TRUE(w.Create(a, "t", WS_OVERLAPPEDWINDOW, 0, 0, 0, 100, 100, nullptr, nullptr));
    EXPECT_TRUE(w.created);
    EXPECT_EQ(win::Window::FromHandle(w.hwnd()), &w);
    HWND h = w.hwnd();
    DestroyWindow(h);
    EXPECT_EQ(w.hwnd(), nullptr);
    EXPECT_EQ(win::Window::FromHandle(h), nullptr);
}

// WM_NOTIFY here (the colour sliders draw through it); WM_COMMAND, WM_DRAWITEM and WM_CTLCOLORSTATIC
// reach the controls of ControlsTest and HyperlinkLabelTest the same way.
TEST(Window, ReflectsNotificationsToSubclassedControls) {
    Recorder parent;
    ASSERT_TRUE(parent.Create(PlainClass(), "p", WS_OVERLAPPEDWINDOW, 0, 0, 0, 200, 200, nullptr, nullptr));
    HWND button = CreateWindowExA(0, "BUTTON", "b", WS_CHILD | BS_PUSHBUTTON, 0, 0, 50, 20, parent.hwnd(),
                                  reinterpret_cast<HMENU>(7), GetModuleHandleA(nullptr), nullptr);
    Recorder control;
    ASSERT_TRUE(control.Subclass(button));
    NMHDR hdr = {button, 7, NM_CUSTOMDRAW};
    SendMessageA(parent.hwnd(), WM_NOTIFY, 7, reinterpret_cast<LPARAM>(&hdr));
    EXPECT_EQ(control.lastReflected, static_cast<UINT>(WM_NOTIFY));
    DestroyWindow(parent.hwnd());
}

// The about box's template, with a caption beyond the system code page. (Dialogs run modally in
// the settings dialogs' tests.)
TEST(Dialog, AboutBoxFromItsTemplate) {
    win::Dialog box(100);
    ASSERT_TRUE(box.CreateModeless(nullptr));
    wchar_t caption[64];
    GetWindowTextW(box.hwnd(), caption, 64);
    EXPECT_STREQ(caption, L"\u5173\u4E8E NerithScr");
}
