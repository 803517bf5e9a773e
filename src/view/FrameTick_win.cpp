#include "view/FrameTick.h"

#include <mmsystem.h>

#include <initializer_list>

#ifndef CREATE_WAITABLE_TIMER_HIGH_RESOLUTION
#define CREATE_WAITABLE_TIMER_HIGH_RESOLUTION 0x00000002
#endif

namespace {

long long QpcNow() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

// Messages that a window timer would let go first: painting, window timers, keys and clicks, and
// after a frame also mouse moves. Mouse moves are left out of the check before a frame (the
// pointer moves all the time while the user moves it; each move is taken between frames all the
// same).
constexpr UINT WaitingBeforeFrame = QS_KEY | QS_MOUSEBUTTON | QS_PAINT | QS_TIMER | QS_HOTKEY;
constexpr UINT WaitingAfterFrame = WaitingBeforeFrame | QS_INPUT;
bool QueueHolds(UINT kinds) { return HIWORD(GetQueueStatus(kinds)) != 0; }

}  // namespace

void FrameTick::Start(HWND window, UINT message, UINT periodMs) {
    Stop();
    window_ = window;
    message_ = message;
    periodMs_ = periodMs;
    state_ = Idle;
    ticks_ = frames_ = sumQpc_ = minQpc_ = maxQpc_ = 0;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    qpcFrequency_ = frequency.QuadPart;

    // Windows 10 1803 and later: precise expiries without raising the system timer for everyone.
    timer_ = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
    if (timer_) {
        retry_ = CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION, TIMER_ALL_ACCESS);
    } else {
        timer_ = CreateWaitableTimerW(nullptr, FALSE, nullptr);
        retry_ = CreateWaitableTimerW(nullptr, FALSE, nullptr);
        systemTimerRaised_ = timer_ && timeBeginPeriod(1) == TIMERR_NOERROR;
    }
    stop_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (timer_ && retry_ && stop_) thread_ = CreateThread(nullptr, 0, &FrameTick::ThreadMain, this, 0, nullptr);
    if (thread_) {
        SetThreadPriority(thread_, THREAD_PRIORITY_TIME_CRITICAL);  // wakes, posts and sleeps again
        return;
    }
    Stop();
    window_ = window;
    windowTimer_ = SetTimer(window, message, periodMs, nullptr) != 0;
}

void FrameTick::Stop() {
    if (thread_) {
        SetEvent(stop_);
        WaitForSingleObject(thread_, INFINITE);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    for (HANDLE* h : {&stop_, &timer_, &retry_}) {
        if (*h) CloseHandle(*h);
        *h = nullptr;
    }
    if (systemTimerRaised_) timeEndPeriod(1);
    systemTimerRaised_ = false;
    if (windowTimer_) KillTimer(window_, message_);
    if (window_) {
        MSG queued;
        while (PeekMessageW(&queued, window_, message_, message_, PM_REMOVE)) {
        }
    }
    windowTimer_ = false;
    window_ = nullptr;
    state_ = Idle;
    owed_ = false;
    gaveWay_ = false;
}

bool FrameTick::IsTick(UINT msg, WPARAM wParam) const {
    if (!window_) return false;
    return windowTimer_ ? msg == WM_TIMER && wParam == message_ : msg == message_;
}

DWORD WINAPI FrameTick::ThreadMain(void* self) {
    static_cast<FrameTick*>(self)->Run();
    return 0;
}

void FrameTick::Run() {
    const long long period = qpcFrequency_ * periodMs_ / 1000;
    long long next = QpcNow() + period;  // when the next tick falls due
    long long last = 0;                  // when the last one came
    const HANDLE waits[3] = {stop_, timer_, retry_};
    for (bool armed = false;;) {
        if (!armed) {
            LARGE_INTEGER due;  // relative, in 100 ns units
            const long long wait = next - QpcNow();
            due.QuadPart = wait > 0 ? -(wait * 10000000 / qpcFrequency_) : -1;
            if (!SetWaitableTimer(timer_, &due, 0, nullptr, nullptr, FALSE)) return;
            armed = true;
        }
        const DWORD woken = WaitForMultipleObjects(3, waits, FALSE, INFINITE);
        if (woken == WAIT_OBJECT_0 + 2) {
            if (owed_) Fire();  // a tick that gave way comes again
            continue;
        }
        if (woken != WAIT_OBJECT_0 + 1) return;
        armed = false;
        const long long now = QpcNow();
        if (last) {
            const long long d = now - last;
            sumQpc_ += d;
            if (minQpc_ == 0 || d < minQpc_) minQpc_ = d;
            if (d > maxQpc_) maxQpc_ = d;
        }
        last = now;
        ++ticks_;
        Fire();
        // The schedule stays put: ticks whose moment passed while this thread was held up are
        // not made up.
        next += period;
        while (next <= now) next += period;
    }
}

bool FrameTick::Post() {
    long expected = Idle;
    if (!state_.compare_exchange_strong(expected, Posted)) return false;
    owed_ = false;
    if (!PostMessageW(window_, message_, 0, 0)) state_ = Idle;  // a full queue: the next tick tries again
    return true;
}

void FrameTick::GiveWay() {
    state_ = Idle;
    owed_ = true;
    LARGE_INTEGER due;
    due.QuadPart = -10000;  // 1 ms
    SetWaitableTimer(retry_, &due, 0, nullptr, nullptr, FALSE);
}

void FrameTick::Fire() {
    long s = state_;
    for (;;) {
        if (s == Idle) {
            if (Post()) return;
        } else if (s == Rendering) {
            if (state_.compare_exchange_weak(s, RenderingDue)) return;
        } else {
            return;  // one tick waits already
        }
        s = state_;
    }
}

bool FrameTick::FrameStarted() {
    if (!window_) return false;
    if (!windowTimer_) {
        // They go first, once: the tick comes again when they have been taken.
        if (!gaveWay_ && QueueHolds(WaitingBeforeFrame)) {
            gaveWay_ = true;
            GiveWay();
            return false;
        }
        gaveWay_ = false;
        state_ = Rendering;
    }
    ++frames_;
    return true;
}

void FrameTick::FrameDone() {
    if (!window_) return;  // stopped during the frame
    if (windowTimer_) {
        // A window timer that fell due while rendering is dropped (the window has no other).
        MSG queued;
        while (PeekMessageW(&queued, window_, WM_TIMER, WM_TIMER, PM_REMOVE)) {
        }
        return;
    }
    if (state_.exchange(Idle) != RenderingDue) return;
    if (!QueueHolds(WaitingAfterFrame)) {
        Post();
    } else {
        gaveWay_ = true;
        GiveWay();
    }
}

TickStats FrameTick::Stats() const {
    TickStats s;
    s.ticks = ticks_;
    s.frames = frames_;
    const double toMs = 1000.0 / static_cast<double>(qpcFrequency_);
    if (s.ticks > 1) s.meanMs = static_cast<double>(sumQpc_) / static_cast<double>(s.ticks - 1) * toMs;
    s.minMs = static_cast<double>(minQpc_) * toMs;
    s.maxMs = static_cast<double>(maxQpc_) * toMs;
    s.timer = thread_ ? (systemTimerRaised_ ? "system_1ms" : "high_resolution") : windowTimer_ ? "window_timer" : "none";
    return s;
}
