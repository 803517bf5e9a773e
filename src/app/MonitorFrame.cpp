#include "app/MonitorFrame.h"

bool MonitorFrame::Open(const RECT& monitor, HWND mainFrame, const AquariumView& main) {
    const char* cls = win::RegisterWndClass(0, nullptr, nullptr, nullptr);
    // Topmost from its creation, as the main frame is.
    if (!cls || !Create(cls, "", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOPMOST, monitor.left, monitor.top,
                        monitor.right - monitor.left, monitor.bottom - monitor.top, mainFrame, nullptr))
        return false;
    if (!view.CreateInside(hwnd_, &main)) {
        DestroyWindow(hwnd_);
        return false;
    }
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    return true;
}

LRESULT MonitorFrame::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_ERASEBKGND:
        return TRUE;  // the view paints everything
    case WM_CLOSE:
        // One monitor's window alone does not close: the whole saver does, with the main frame.
        if (HWND owner = GetWindow(hwnd_, GW_OWNER)) PostMessageA(owner, WM_CLOSE, 0, 0);
        return 0;
    default:
        return Window::WindowProc(msg, wParam, lParam);
    }
}

namespace {

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list) {
    MONITORINFO info = {};
    info.cbSize = sizeof info;
    if (GetMonitorInfoA(monitor, &info)) reinterpret_cast<std::vector<MONITORINFO>*>(list)->push_back(info);
    return TRUE;
}

}  // namespace

std::vector<RECT> OtherMonitors() {
    std::vector<MONITORINFO> all;
    EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&all));
    RECT primary = {};
    for (const MONITORINFO& m : all)
        if (m.dwFlags & MONITORINFOF_PRIMARY) primary = m.rcMonitor;
    std::vector<RECT> others;
    for (const MONITORINFO& m : all) {
        bool shown = EqualRect(&m.rcMonitor, &primary) != FALSE;
        for (const RECT& r : others) shown = shown || EqualRect(&m.rcMonitor, &r);
        if (!shown) others.push_back(m.rcMonitor);
    }
    return others;
}
