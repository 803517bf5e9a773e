#pragma once
// Lengths the program draws in pixels (pictures, lamps, insets, menu rows, list columns) are
// designed for 96 DPI (100 %). On a screen set to a larger text size the dialog templates grow
// with their font, and these lengths grow with them: scaled by the system DPI over 96, rounded as
// MulDiv rounds. The program is system DPI aware, so the DPI is read once and never changes.
struct DpiScale {
    int dpi = 96;

    // A length of the 96-DPI design at this DPI: MulDiv(pixels, dpi, 96), halves away from zero.
    constexpr int operator()(int pixels) const {
        const long long p = static_cast<long long>(pixels) * dpi;
        return static_cast<int>(p >= 0 ? (p + 48) / 96 : -((48 - p) / 96));
    }
    // A point at this DPI back on the 96-DPI design (truncated, as integer division truncates).
    constexpr int unscale(int pixels) const {
        return dpi > 0 ? static_cast<int>(static_cast<long long>(pixels) * 96 / dpi) : pixels;
    }
    constexpr bool isDesign() const { return dpi == 96; }

    // The screen's DPI (LOGPIXELSY), read on the first call. Windows build only.
    static DpiScale System();
};
