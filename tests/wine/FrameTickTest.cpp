// The frame clock: one frame per tick and never a tick waiting behind another, ticks that reach
// the window through a modal dialog's loop, window timers that are not starved by frames slower
// than the tick, and nothing after Stop.
#include <gtest/gtest.h>

#include <functional>

#include "view/FrameTick.h"
#include "win/Dialog.h"
#include "win/Window.h"

namespace {

constexpr UINT TickMessage = WM_APP + 1;
constexpr UINT_PTR OtherTimer = 7;

// A window that renders a "frame" of `frameMs` for each tick, as the view does.
class TickedWindow : public win::Window {
public:
    TickedWindow() {
        const char* cls = win::RegisterWndClass(0, nullptr, nullptr, nullptr);
        Create(cls, "ticked", WS_OVERLAPPEDWINDOW, 0, 0, 0, 100, 100, nullptr, nullptr);
    }
    ~TickedWindow() override {
        tick.Stop();
        if (hwnd_) DestroyWindow(hwnd_);
    }

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (tick.IsTick(msg, wParam)) {
            if (!tick.FrameStarted()) return 0;
            ++frames;
            MSG more;
            if (PeekMessageW(&more, hwnd_, TickMessage, TickMessage, PM_NOREMOVE)) ++backlogged;
            if (frameMs) Sleep(frameMs);
            if (onFrame) onFrame();
            tick.FrameDone();
            return 0;
        }
        if (msg == WM_TIMER && wParam == OtherTimer) ++otherTimers;
        return Window::WindowProc(msg, wParam, lParam);
    }

    FrameTick tick;
    DWORD frameMs = 0;
    int frames = 0, backlogged = 0, otherTimers = 0;
    std::function<void()> onFrame;
};

// A window that counts its paints.
class Painter : public win::Window {
public:
    Painter() {
        const char* cls = win::RegisterWndClass(0, nullptr, nullptr, nullptr);
        Create(cls, "painter", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 120, 0, 100, 100, nullptr, nullptr);
    }
    ~Painter() override {
        if (hwnd_) DestroyWindow(hwnd_);
    }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_PAINT) {
            PAINTSTRUCT ps;
            BeginPaint(hwnd_, &ps);
            EndPaint(hwnd_, &ps);
            ++paints;
            return 0;
        }
        return Window::WindowProc(msg, wParam, lParam);
    }
    int paints = 0;
};

// Runs a message loop on this thread for `ms`.
void Pump(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    for (LONG left; (left = static_cast<LONG>(end - GetTickCount())) > 0;) {
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        } else {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
        }
    }
}

}  // namespace

TEST(FrameTick, SlowFramesLeaveNoBacklogAndStarveNoTimerOrPainting) {
    TickedWindow w;
    Painter painter;
    ASSERT_NE(w.hwnd(), nullptr);
    Pump(100);
    w.frameMs = 25;  // two or three ticks fall due in each frame
    int invalidated = 0, framesOverUnpainted = 0;
    w.onFrame = [&] {
        if (GetUpdateRect(painter.hwnd(), nullptr, FALSE)) ++framesOverUnpainted;
        if (w.frames % 3 == 0) {
            InvalidateRect(painter.hwnd(), nullptr, FALSE);
            ++invalidated;
        }
    };
    w.tick.Start(w.hwnd(), TickMessage, 10);
    SetTimer(w.hwnd(), OtherTimer, 40, nullptr);
    Pump(1000);
    KillTimer(w.hwnd(), OtherTimer);
    const TickStats stats = w.tick.Stats();
    EXPECT_STRNE(stats.timer, "none");
    EXPECT_GT(w.frames, 5);
    EXPECT_EQ(w.backlogged, 0) << "a tick waited behind the one being rendered";
    EXPECT_GT(stats.ticks, stats.frames) << "the ticks that fell due during a frame start no frames of their own";
    EXPECT_GT(w.otherTimers, 3) << "frames slower than the tick held off the window's other timer";
    EXPECT_GT(invalidated, 2);
    // A tick gives way to waiting paint once; on a busy machine the paint may still be waiting when
    // it comes again. Without giving way, every invalidation would be followed by such a frame.
    EXPECT_LE(framesOverUnpainted, invalidated / 3) << "frames started before a window waiting for paint was painted";
    EXPECT_GE(painter.paints, invalidated - 1) << "frames starved the painting";
    w.tick.Stop();
}

namespace {
// The dialog is ended by the twentieth frame inside its loop; if no tick came, a thread timer
// ends it after 5 s.
HWND dialogToEnd;
void CALLBACK EndDialogLate(HWND, UINT, UINT_PTR, DWORD) {
    if (dialogToEnd) EndDialog(dialogToEnd, IDCANCEL);
}
}  // namespace

TEST(FrameTick, TicksReachTheWindowThroughAModalDialogLoop) {
    TickedWindow w;
    ASSERT_NE(w.hwnd(), nullptr);
    win::Dialog box(100);
    int framesInDialog = 0;
    w.onFrame = [&] {
        if (!box.hwnd()) return;
        dialogToEnd = box.hwnd();
        if (++framesInDialog == 20) box.EndDialog(IDOK);
    };
    w.tick.Start(w.hwnd(), TickMessage, 10);
    const UINT_PTR late = SetTimer(nullptr, 0, 5000, &EndDialogLate);
    const INT_PTR result = box.DoModal(w.hwnd());
    KillTimer(nullptr, late);
    dialogToEnd = nullptr;
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(framesInDialog, 20);
}

TEST(FrameTick, NothingAfterStop) {
    TickedWindow w;
    ASSERT_NE(w.hwnd(), nullptr);
    w.frameMs = 15;
    w.tick.Start(w.hwnd(), TickMessage, 10);
    Pump(200);
    ASSERT_GT(w.frames, 0);
    // Stopped from inside a frame, with the next tick already due: it is not delivered.
    w.onFrame = [&] { w.tick.Stop(); };
    Pump(100);
    const int frames = w.frames;
    Pump(100);
    EXPECT_EQ(w.frames, frames);
    EXPECT_FALSE(w.tick.Running());
    MSG queued;
    EXPECT_FALSE(PeekMessageW(&queued, w.hwnd(), TickMessage, TickMessage, PM_NOREMOVE));
}
