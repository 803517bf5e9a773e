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

// A pen or brush made for one drawing, deleted when it goes out of scope (declare it before the
// PenAndBrush that selects it).
class GdiObject {
public:
    explicit GdiObject(HGDIOBJ object) : object_(object) {}
    ~GdiObject() {
        if (object_) DeleteObject(object_);
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    HGDIOBJ get() const { return object_; }
    HBRUSH brush() const { return static_cast<HBRUSH>(object_); }

private:
    HGDIOBJ object_;
};

// A pen and a brush selected into a DC; the previous ones go back when it goes out of scope.
class PenAndBrush {
public:
    PenAndBrush(HDC dc, HGDIOBJ pen, HGDIOBJ brush)
        : dc_(dc), oldPen_(SelectObject(dc, pen)), oldBrush_(SelectObject(dc, brush)) {}
    ~PenAndBrush() {
        SelectObject(dc_, oldBrush_);
        SelectObject(dc_, oldPen_);
    }
    PenAndBrush(const PenAndBrush&) = delete;
    PenAndBrush& operator=(const PenAndBrush&) = delete;

private:
    HDC dc_;
    HGDIOBJ oldPen_, oldBrush_;
};

// Fills `area` with one colour.
void FillColour(HDC dc, const RECT& area, COLORREF colour);
// A pen for the outline of a shape, `width` pixels wide: a wider pen than one pixel is kept inside
// the shape's box, so a thicker outline does not make the shape larger.
HPEN OutlinePen(COLORREF colour, int width);
// A frame `thickness` pixels wide just inside `area`, in one colour.
void FrameColour(HDC dc, const RECT& area, COLORREF colour, int thickness);

// The window's text (the dialogs are Unicode windows).
std::wstring WindowTextOf(HWND hwnd);

// Selects the window's own font (WM_GETFONT) into `dc`; returns the previous font.
HGDIOBJ SelectWindowFont(HWND hwnd, HDC dc);
