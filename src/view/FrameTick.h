#pragma once
// The clock of one view: a steady tick, one frame per tick, delivered as a message posted to the
// view's window so that it arrives through any message loop that runs (the main loop, a modal
// dialog's, a menu's).
//
// A thread of its own waits on a high-resolution waitable timer (a plain waitable timer with the
// system timer at 1 ms where Windows has no high-resolution timers) and keeps a fixed schedule:
// the n-th tick falls due n periods after Start, however late the one before it was taken. Window
// timers can do neither: Windows fires them on the system timer's 15.6 ms resolution, and Wine
// restarts a window timer from the moment its message is taken.
//
// Never more than one tick waits. A tick that falls due while one waits already is dropped; one
// that falls due while the window renders starts the next frame as soon as the frame ends. Posted
// messages come before input, painting and window timers in every message loop, so the ticks
// give way to those once, as a window timer would: a tick that finds them waiting (at the end of
// the frame before, or when it is taken) is posted again 1 ms later, when they have been taken.
#include <windows.h>

#include <atomic>

struct TickStats {
    long long ticks = 0;         // ticks that fell due
    long long frames = 0;        // frames the ticks started
    double meanMs = 0.0, minMs = 0.0, maxMs = 0.0;  // periods between ticks
    const char* timer = "none";  // "high_resolution", "system_1ms" or "window_timer"
};

class FrameTick {
public:
    FrameTick() = default;
    ~FrameTick() { Stop(); }
    FrameTick(const FrameTick&) = delete;
    FrameTick& operator=(const FrameTick&) = delete;

    // Starts posting `message` to `window` (which belongs to the calling thread) every `periodMs`.
    // Where no timer thread can be made, it falls back to a window timer with the same id as
    // `message` (WM_TIMER, wParam == message).
    void Start(HWND window, UINT message, UINT periodMs);

    // Stops the ticks and removes one already queued. Call it on the window's thread.
    void Stop();

    bool Running() const { return window_ != nullptr; }

    // True for the messages that carry this clock's ticks.
    bool IsTick(UINT msg, WPARAM wParam) const;

    // Called by the window when it takes a tick; true when it is to render the frame.
    bool FrameStarted();
    // Called by the window when that frame is done.
    void FrameDone();

    TickStats Stats() const;

private:
    enum State : long { Idle, Posted, Rendering, RenderingDue };

    static DWORD WINAPI ThreadMain(void* self);
    void Run();
    void Fire();  // on the timer thread, when a tick falls due
    bool Post();  // Idle -> Posted, and the message with it
    void GiveWay();  // the tick owed is posted again shortly

    HWND window_ = nullptr;
    UINT message_ = 0;
    UINT periodMs_ = 0;
    HANDLE timer_ = nullptr;
    HANDLE retry_ = nullptr;  // armed by GiveWay
    HANDLE stop_ = nullptr;
    HANDLE thread_ = nullptr;
    bool systemTimerRaised_ = false;
    bool windowTimer_ = false;
    std::atomic<long> state_{Idle};
    std::atomic<bool> owed_{false};  // a tick gave way and is to come again
    bool gaveWay_ = false;           // the tick now taken gave way once already

    // Kept by the timer thread, read by the window's.
    std::atomic<long long> ticks_{0}, frames_{0};
    std::atomic<long long> sumQpc_{0}, minQpc_{0}, maxQpc_{0};
    long long qpcFrequency_ = 1;
};
