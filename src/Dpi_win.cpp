#include "Dpi.h"

#include <windows.h>

DpiScale DpiScale::System() {
    static const int dpi = [] {
        HDC screen = GetDC(nullptr);
        const int d = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
        if (screen) ReleaseDC(nullptr, screen);
        return d > 0 ? d : 96;
    }();
    return DpiScale{dpi};
}
