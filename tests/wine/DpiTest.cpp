// The scaling of lengths drawn in pixels with the screen's DPI: the portable helper rounds as
// MulDiv does, and the system DPI is the screen's. (Clicks taken back onto the 96-DPI picture are
// FishGridTest's.)
#include <windows.h>

#include <gtest/gtest.h>

#include "Dpi.h"

TEST(DpiScale, RoundsAsMulDivAndReadsTheScreensDpi) {
    const int lengths[] = {-25, -7, -1, 0, 1, 2, 3, 7, 8, 15, 20, 24, 25, 48, 90, 140, 430, 450, 500, 512, 1023};
    for (int dpi : {72, 96, 110, 120, 144, 168, 192, 240}) {
        const DpiScale scale{dpi};
        for (int v : lengths) EXPECT_EQ(scale(v), MulDiv(v, dpi, 96)) << v << " at " << dpi;
    }
    EXPECT_TRUE(DpiScale{}.isDesign());
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(DpiScale::System().dpi, GetDeviceCaps(screen, LOGPIXELSY));
    ReleaseDC(nullptr, screen);
}
