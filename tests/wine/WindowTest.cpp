// The window layer: objects attached to their windows, reflection of control notifications,
// class registration and dialogs from templates.
#include <gtest/gtest.h>

#include <string>

#include "Canvas.h"
#include "win/Dialog.h"
#include "win/Window.h"

namespace {

class Recorder : public win::Window {
public:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_CREATE) created = true;
        return Window::WindowProc(msg, wParam, lParam);
    }
    bool created = false;
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

// The about box's template, with a caption beyond the system code page. (Dialogs run modally in
// the settings dialogs' tests.)
TEST(Dialog, AboutBoxFromItsTemplate) {
    win::Dialog box(100);
    ASSERT_TRUE(box.CreateModeless(nullptr));
    wchar_t caption[64];
    GetWindowTextW(box.hwnd(), caption, 64);
    EXPECT_STREQ(caption, L"\u5173\u4E8E NerithScr");
}

namespace {

// A control that handles (or leaves to its parent) whatever is reflected to it, counting it.
class CountingControl : public win::Window {
public:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg >= win::ReflectBase && msg < win::ReflectBase + WM_USER) {
            ++seen;
            if (handles) return 0;  // a click handler's answer: nothing to report
        }
        return Window::WindowProc(msg, wParam, lParam);
    }
    bool handles = true;
    int seen = 0;
};

// Parents of both kinds, counting the one message they watch.
class CountingParent : public win::Window {
public:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == watched) ++seen;
        return Window::WindowProc(msg, wParam, lParam);
    }
    UINT watched = 0;
    int seen = 0;
};

class CountingDialog : public win::Dialog {
public:
    CountingDialog() : Dialog(100) {}
    INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == watched) ++seen;
        return Dialog::DialogProc(msg, wParam, lParam);
    }
    UINT watched = 0;
    int seen = 0;
};

}  // namespace

// Each notification reflected to a subclassed control is handled once, by the control or else by
// its parent, under a plain window and a dialog alike. (A click on the web link once reached it
// twice and opened the browser twice.)
TEST(Window, EachReflectedNotificationIsHandledOnceByTheControlOrElseByItsParent) {
    CountingParent window;
    ASSERT_TRUE(window.Create(PlainClass(), "p", WS_OVERLAPPEDWINDOW, 0, 0, 0, 200, 200, nullptr, nullptr));
    CountingDialog dialog;
    ASSERT_TRUE(dialog.CreateModeless(nullptr));
    const UINT messages[] = {WM_COMMAND, WM_NOTIFY, WM_DRAWITEM, WM_CTLCOLORSTATIC, WM_HSCROLL};
    for (HWND parent : {window.hwnd(), dialog.hwnd()}) {
        HWND button = CreateWindowExA(0, "BUTTON", "b", WS_CHILD | BS_PUSHBUTTON, 0, 0, 50, 20, parent,
                                      reinterpret_cast<HMENU>(7), GetModuleHandleA(nullptr), nullptr);
        CountingControl control;
        ASSERT_TRUE(control.Subclass(button));
        for (UINT msg : messages) {
            for (bool handles : {true, false}) {
                control.handles = handles;
                control.seen = window.seen = dialog.seen = 0;
                window.watched = dialog.watched = msg;
                HDC dc = GetDC(button);
                SendAsChild(parent, button, msg, msg == WM_NOTIFY ? NM_CLICK : BN_CLICKED, dc);
                ReleaseDC(button, dc);
                const int parentSeen = parent == window.hwnd() ? window.seen : dialog.seen;
                const char* where = parent == window.hwnd() ? "window" : "dialog";
                EXPECT_EQ(control.seen, 1) << where << " message " << msg << " handled by the control " << handles;
                EXPECT_EQ(parentSeen, handles ? 0 : 1) << where << " message " << msg << " handled by the control " << handles;
            }
        }
        DestroyWindow(button);
    }
    DestroyWindow(window.hwnd());
    DestroyWindow(dialog.hwnd());
}

namespace {

// What the frame test below sees: its objects' destruction, and anything reaching them afterwards.
struct Watch {
    bool closeFromAnotherThread = false;  // sent as another program sends, else posted
    bool frameDeleted = false;
    bool handlerResumedAfterFrameDeleted = false;
    bool dialogDeleted = false;
    int reachedAfterDeletion = 0;
    volatile bool modalReturned = false;
    bool modalStuck = false;  // the modal loop slept on after its dialog was gone
    HWND frame = nullptr;
    DWORD uiThread = 0;
} watch;

// Another program's close: WM_CLOSE sent from another thread while the modal loop waits; a loop
// still waiting 3 s later is woken and noted.
DWORD WINAPI SendClose(void*) {
    SendMessageA(watch.frame, WM_CLOSE, 0, 0);
    for (int i = 0; i < 300 && !watch.modalReturned; ++i) Sleep(10);
    if (!watch.modalReturned) {
        watch.modalStuck = true;
        PostThreadMessageA(watch.uiThread, WM_NULL, 0, 0);
    }
    return 0;
}

// Has its owner (the frame) closed as soon as it is up.
class ClosesItsOwner : public win::Dialog {
public:
    ClosesItsOwner() : Dialog(100) {}
    ~ClosesItsOwner() override { watch.dialogDeleted = true; }
    BOOL OnInitDialog() override {
        if (!watch.closeFromAnotherThread) PostMessageA(watch.frame, WM_CLOSE, 0, 0);
        else CloseHandle(CreateThread(nullptr, 0, &SendClose, nullptr, 0, nullptr));
        return TRUE;
    }
    void OnFinalMessage() override {
        if (watch.dialogDeleted) ++watch.reachedAfterDeletion;
    }
};

// The view: its command handler runs a modal dialog.
class Pane : public win::Window {
public:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (watch.frameDeleted) ++watch.reachedAfterDeletion;
        if (msg == WM_COMMAND) {
            {
                ClosesItsOwner dialog;
                dialog.DoModal(hwnd_);
                watch.modalReturned = true;
            }
            watch.handlerResumedAfterFrameDeleted = watch.frameDeleted;
            if (watch.frameDeleted) return 0;  // this object is gone: touch nothing of it
        }
        return Window::WindowProc(msg, wParam, lParam);
    }
};

// The frame: a heap object holding the view by value, deleting itself when its window is gone.
class Frame : public win::Window {
public:
    ~Frame() override { watch.frameDeleted = true; }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (watch.frameDeleted) ++watch.reachedAfterDeletion;
        if (msg == WM_CREATE) {
            const bool made = pane.Create(PlainClass(), "", WS_CHILD | WS_VISIBLE, 0, 0, 0, 10, 10, hwnd_,
                                          reinterpret_cast<HMENU>(1));
            return made ? 0 : -1;
        }
        return Window::WindowProc(msg, wParam, lParam);
    }
    void OnFinalMessage() override { delete this; }
    Pane pane;
};

}  // namespace

// The frame closed from outside (posted, or sent from another thread) while its view's command
// handler waits in a modal dialog: the loop ends, the frame and its view are deleted only once
// that handler has returned, and nothing reaches an object after its deletion.
TEST(Window, AFrameClosedInsideAModalLoopGoesOnlyAfterTheHandlerThatRanItReturns) {
    for (bool fromAnotherThread : {false, true}) {
        watch = Watch();
        watch.closeFromAnotherThread = fromAnotherThread;
        watch.uiThread = GetCurrentThreadId();
        auto* frame = new Frame;
        ASSERT_TRUE(frame->Create(PlainClass(), "frame", WS_OVERLAPPEDWINDOW, 0, 0, 0, 200, 200, nullptr, nullptr));
        watch.frame = frame->hwnd();
        SendMessageA(frame->pane.hwnd(), WM_COMMAND, 1, 0);
        const char* how = fromAnotherThread ? "sent from another thread" : "posted";
        EXPECT_FALSE(IsWindow(watch.frame)) << how;
        EXPECT_FALSE(watch.modalStuck) << how << ": the modal loop slept on after its dialog went";
        EXPECT_FALSE(watch.handlerResumedAfterFrameDeleted) << how << ": the handler went on inside a deleted object";
        EXPECT_TRUE(watch.frameDeleted) << how << ": deleted once the outermost handler returned";
        EXPECT_TRUE(watch.dialogDeleted) << how;
        EXPECT_EQ(watch.reachedAfterDeletion, 0) << how;
        DispatchPending();
    }
}

namespace {

class CountingStanding : public win::StandingDialog {
public:
    CountingStanding() : StandingDialog(100) {}
    void SaveOnHide() override { ++saves; }
    int saves = 0;
};

}  // namespace

// A standing dialog's close box hides and saves it once (not again for the Cancel that follows).
TEST(Dialog, StandingDialogCloseBoxSavesOnce) {
    CountingStanding dialog;
    ASSERT_TRUE(dialog.CreateHidden(nullptr));
    dialog.ShowCentred();
    SendMessageA(dialog.hwnd(), WM_CLOSE, 0, 0);
    DispatchPending();
    EXPECT_EQ(dialog.saves, 1);
    EXPECT_TRUE(IsWindow(dialog.hwnd()));
    EXPECT_FALSE(IsWindowVisible(dialog.hwnd()));
}

// Before a window goes it closes the open dialogs it owns as their close boxes would: here a
// modal one running over it and a shown standing one; a hidden standing dialog is left alone.
TEST(Dialog, CloseOwnedByClosesTheOpenDialogsLikeTheirCloseBoxes) {
    class Modal : public win::Dialog {
    public:
        Modal() : Dialog(100) {}
        BOOL OnInitDialog() override {
            PostMessageA(hwnd_, WM_APP, 0, 0);  // before it shows: open all the same
            return TRUE;
        }
        INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
            if (msg == WM_APP) win::Dialog::CloseOwnedBy(GetWindow(hwnd_, GW_OWNER));
            if (msg == WM_CLOSE) ++closes;
            return Dialog::DialogProc(msg, wParam, lParam);
        }
        int closes = 0;
    };
    win::Window owner;
    ASSERT_TRUE(owner.Create(PlainClass(), "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 0, 200, 200, nullptr, nullptr));
    CountingStanding shown, hidden;
    ASSERT_TRUE(shown.CreateHidden(owner.hwnd()));
    ASSERT_TRUE(hidden.CreateHidden(owner.hwnd()));
    shown.ShowCentred();
    Modal modal;
    EXPECT_EQ(modal.DoModal(owner.hwnd()), IDCANCEL);
    EXPECT_EQ(modal.closes, 1);
    EXPECT_EQ(shown.saves, 1);
    EXPECT_FALSE(IsWindowVisible(shown.hwnd()));
    EXPECT_EQ(hidden.saves, 0);
    DestroyWindow(owner.hwnd());
}
