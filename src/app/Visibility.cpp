#include "app/Visibility.h"

namespace {

// From wtsapi32.dll, which is looked up at run time: the program starts where it is missing.
using RegisterSessionFn = BOOL(WINAPI*)(HWND, DWORD);
using UnregisterSessionFn = BOOL(WINAPI*)(HWND);
constexpr DWORD NotifyForThisSession = 0;

HMODULE LoadSystemLibrary(const char* name) {
    // From the system folder only, never from the program's or the current folder.
    char path[MAX_PATH];
    const UINT n = GetSystemDirectoryA(path, MAX_PATH);
    if (n == 0 || n + 1 + lstrlenA(name) >= MAX_PATH) return nullptr;
    lstrcatA(path, "\\");
    lstrcatA(path, name);
    return LoadLibraryA(path);
}

}  // namespace

const GUID Visibility::ConsoleDisplayState = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
const GUID Visibility::MonitorPowerOn = {0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}};

void Visibility::Watch(HWND window) {
    Unwatch();
    window_ = window;
    if ((sessionLibrary_ = LoadSystemLibrary("wtsapi32.dll"))) {
        auto registerSession = reinterpret_cast<RegisterSessionFn>(
            reinterpret_cast<void*>(GetProcAddress(sessionLibrary_, "WTSRegisterSessionNotification")));
        if (!registerSession || !registerSession(window, NotifyForThisSession)) {
            FreeLibrary(sessionLibrary_);
            sessionLibrary_ = nullptr;
        }
    }
    // Windows sends the current state of each at once, so a display that is already off counts.
    display_[0] = RegisterPowerSettingNotification(window, &ConsoleDisplayState, DEVICE_NOTIFY_WINDOW_HANDLE);
    display_[1] = RegisterPowerSettingNotification(window, &MonitorPowerOn, DEVICE_NOTIFY_WINDOW_HANDLE);
}

void Visibility::Unwatch() {
    for (HPOWERNOTIFY& d : display_) {
        if (d) UnregisterPowerSettingNotification(d);
        d = nullptr;
    }
    if (sessionLibrary_) {
        auto unregisterSession = reinterpret_cast<UnregisterSessionFn>(
            reinterpret_cast<void*>(GetProcAddress(sessionLibrary_, "WTSUnRegisterSessionNotification")));
        if (unregisterSession) unregisterSession(window_);
        FreeLibrary(sessionLibrary_);
        sessionLibrary_ = nullptr;
    }
    window_ = nullptr;
}

bool Visibility::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_SIZE:
        // SIZE_MAXHIDE and SIZE_MAXSHOW tell of other windows.
        if (wParam == SIZE_MINIMIZED) return Set(Minimised, true);
        if (wParam == SIZE_RESTORED || wParam == SIZE_MAXIMIZED) return Set(Minimised, false);
        return false;
    case WM_WTSSESSION_CHANGE:
        if (wParam == WTS_SESSION_LOCK) return Set(Locked, true);
        if (wParam == WTS_SESSION_UNLOCK) return Set(Locked, false);
        return false;
    case WM_POWERBROADCAST: {
        if (wParam != PBT_POWERSETTINGCHANGE || !lParam) return false;
        const auto* setting = reinterpret_cast<const POWERBROADCAST_SETTING*>(lParam);
        if (!IsEqualGUID(setting->PowerSetting, ConsoleDisplayState) &&
            !IsEqualGUID(setting->PowerSetting, MonitorPowerOn))
            return false;
        if (setting->DataLength < sizeof(DWORD)) return false;
        DWORD state;
        CopyMemory(&state, setting->Data, sizeof state);
        return Set(DisplayOff, state == 0);
    }
    default:
        return false;
    }
}

bool Visibility::Set(Reason reason, bool holds) {
    const bool wasHidden = Hidden();
    reasons_ = holds ? reasons_ | reason : reasons_ & ~static_cast<unsigned>(reason);
    return Hidden() != wasHidden;
}
