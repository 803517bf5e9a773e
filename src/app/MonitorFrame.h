#pragma once
#include <windows.h>

#include <vector>

#include "view/AquariumView.h"
#include "win/Window.h"

// The screen saver on a monitor other than the primary one: a topmost borderless window over that
// monitor whose only child is a companion of the main view, laid out for the monitor's own size.
// The main frame owns the window, so the window goes with the main frame, before it (and so
// before the main view the companion draws with).
class MonitorFrame : public win::Window {
public:
    // Creates the window over `monitor` (virtual-screen pixels), owned by `mainFrame`, with the
    // companion of `main` in it, and shows it without taking the focus. False on failure (no
    // window is left then).
    bool Open(const RECT& monitor, HWND mainFrame, const AquariumView& main);

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    AquariumView view;
};

// The monitors other than the primary one, as rectangles of the virtual screen in the order the
// system lists them. A monitor showing a rectangle listed before or the primary's (a mirror) is
// left out.
std::vector<RECT> OtherMonitors();
