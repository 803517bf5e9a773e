#pragma once
// Shared pieces of the self-drawn controls: an off-screen bitmap the size of the item that is
// copied to the screen in one step when it goes out of scope, and the control's caption.
#include <windows.h>

#include <string>

class OffscreenDC {
public:
    // A memory DC compatible with `target`, holding a bitmap of `area`'s size, with the window
    // origin moved so that drawing uses `area`'s own coordinates.
    OffscreenDC(HDC target, const RECT& area);
    ~OffscreenDC();  // copies the picture to the target and releases everything
    OffscreenDC(const OffscreenDC&) = delete;
    OffscreenDC& operator=(const OffscreenDC&) = delete;
    HDC dc() const { return dc_; }

private:
    HDC target_, dc_;
    RECT area_;
    HBITMAP bitmap_, oldBitmap_;
};

// The window's text (the dialogs are Unicode windows).
std::wstring WindowTextOf(HWND hwnd);

// Selects the window's own font (WM_GETFONT) into `dc`; returns the previous font.
HGDIOBJ SelectWindowFont(HWND hwnd, HDC dc);
