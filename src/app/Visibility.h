#pragma once
// Whether anyone can see a top-level window: not while it is minimised, while the session is
// locked, or while the display is off. The window passes its messages through OnMessage; the
// notifications of the lock and of the display come only to a window registered with Watch.
#include <windows.h>

class Visibility {
public:
    // Why the window cannot be seen; several may hold at once.
    enum Reason : unsigned { Minimised = 1u, Locked = 2u, DisplayOff = 4u };

    Visibility() = default;
    ~Visibility() { Unwatch(); }
    Visibility(const Visibility&) = delete;
    Visibility& operator=(const Visibility&) = delete;

    // Registers `window` (top-level) for the session's lock and unlock and for the display's
    // state. Where the system refuses one of them (or wtsapi32 is missing) that reason is simply
    // never seen; nothing else depends on it.
    void Watch(HWND window);
    // Undoes Watch; called again, or without Watch, it does nothing.
    void Unwatch();

    // Reads one message of the watched window: WM_SIZE, WM_WTSSESSION_CHANGE and
    // WM_POWERBROADCAST (display state); every other message is left alone. True when the
    // message changed whether the window can be seen.
    bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam);

    bool Hidden() const { return reasons_ != 0; }

    // The display-state settings this reads (GUID_CONSOLE_DISPLAY_STATE, Windows 8 and later, and
    // GUID_MONITOR_POWER_ON, which Windows 7 sends): data 0 is off, 1 on, 2 dimmed (still seen).
    static const GUID ConsoleDisplayState;
    static const GUID MonitorPowerOn;

private:
    bool Set(Reason reason, bool holds);

    unsigned reasons_ = 0;
    HWND window_ = nullptr;
    HMODULE sessionLibrary_ = nullptr;  // wtsapi32, loaded while the session is watched
    HPOWERNOTIFY display_[2] = {};
};
