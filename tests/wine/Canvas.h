#pragma once
// A 32-bit top-down DIB selected into a memory DC, for tests that draw and read pixels back; and
// the messages a child control sends its parent.
#include <windows.h>
#include <commctrl.h>

#include <cstdint>

class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height) {
        dc_ = CreateCompatibleDC(nullptr);
        BITMAPINFO bi = {};
        bi.bmiHeader.biSize = sizeof bi.bmiHeader;
        bi.bmiHeader.biWidth = width;
        bi.bmiHeader.biHeight = -height;
        bi.bmiHeader.biPlanes = 1;
        bi.bmiHeader.biBitCount = 32;
        bi.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
        bits_ = static_cast<std::uint32_t*>(bits);
        old_ = SelectObject(dc_, bitmap_);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    bool Ok() const { return dc_ && bits_; }
    HDC dc() const { return dc_; }
    int width() const { return width_; }
    int height() const { return height_; }

    COLORREF At(int x, int y) const {
        GdiFlush();
        std::uint32_t p = bits_[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    void Clear(COLORREF c) {
        GdiFlush();
        for (int i = 0; i < width_ * height_; ++i)
            bits_[i] = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    }
    // How many pixels have the colour c.
    int Count(COLORREF c) const {
        int n = 0;
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) n += At(x, y) == c;
        return n;
    }

private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

// The owner-draw record of button `control` drawing into `dc` in `state`.
inline DRAWITEMSTRUCT ItemFor(HWND control, HDC dc, UINT state = 0) {
    DRAWITEMSTRUCT item = {};
    item.CtlType = ODT_BUTTON;
    item.CtlID = GetDlgCtrlID(control);
    item.hwndItem = control;
    item.hDC = dc;
    item.itemState = state;
    GetClientRect(control, &item.rcItem);
    return item;
}

// Sends `msg` (WM_COMMAND, WM_NOTIFY as custom drawing, WM_DRAWITEM or a WM_CTLCOLOR...) to
// `parent` as its child `control` would, with notification `code`, drawing into `dc`.
inline LRESULT SendAsChild(HWND parent, HWND control, UINT msg, UINT code, HDC dc) {
    const int id = GetDlgCtrlID(control);
    NMCUSTOMDRAW draw = {};
    draw.hdr = {control, static_cast<UINT_PTR>(id), code};
    draw.hdc = dc;
    draw.dwDrawStage = CDDS_PREPAINT;
    DRAWITEMSTRUCT item = ItemFor(control, dc);
    switch (msg) {
    case WM_COMMAND: return SendMessageA(parent, msg, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
    case WM_NOTIFY: return SendMessageA(parent, msg, id, reinterpret_cast<LPARAM>(&draw));
    case WM_DRAWITEM: return SendMessageA(parent, msg, id, reinterpret_cast<LPARAM>(&item));
    default: return SendMessageA(parent, msg, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    }
}

// Dispatches whatever the thread's queue holds.
inline void DispatchPending() {
    MSG m;
    while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
}
