#include "ui/ControlDraw.h"

OffscreenDC::OffscreenDC(HDC target, const RECT& area) : target_(target), area_(area) {
    dc_ = CreateCompatibleDC(target);
    bitmap_ = CreateCompatibleBitmap(target, area.right - area.left, area.bottom - area.top);
    oldBitmap_ = static_cast<HBITMAP>(SelectObject(dc_, bitmap_));
    SetWindowOrgEx(dc_, area.left, area.top, nullptr);
}

OffscreenDC::~OffscreenDC() {
    BitBlt(target_, area_.left, area_.top, area_.right - area_.left, area_.bottom - area_.top, dc_,
           area_.left, area_.top, SRCCOPY);
    SelectObject(dc_, oldBitmap_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

void FillColour(HDC dc, const RECT& area, COLORREF colour) {
    const GdiObject brush(CreateSolidBrush(colour));
    FillRect(dc, &area, brush.brush());
}

HPEN OutlinePen(COLORREF colour, int width) {
    return CreatePen(width > 1 ? PS_INSIDEFRAME : PS_SOLID, width, colour);
}

void FrameColour(HDC dc, const RECT& area, COLORREF colour, int thickness) {
    const GdiObject brush(CreateSolidBrush(colour));
    RECT ring = area;
    for (int i = 0; i < thickness; ++i) {
        FrameRect(dc, &ring, brush.brush());
        InflateRect(&ring, -1, -1);
    }
}

std::wstring WindowTextOf(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    text.resize(static_cast<size_t>(GetWindowTextW(hwnd, &text[0], length + 1)));
    return text;
}

HGDIOBJ SelectWindowFont(HWND hwnd, HDC dc) {
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0));
    return SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
}
