#include "ui/ColourSlider.h"

#include <commctrl.h>

#include "ui/ControlDraw.h"

namespace {
void DrawEllipse(HDC dc, const RECT& box, COLORREF outline, int width, HGDIOBJ fill) {
    const GdiObject pen(OutlinePen(outline, width));
    const PenAndBrush tools(dc, pen.get(), fill);
    Ellipse(dc, box.left, box.top, box.right, box.bottom);
}
}  // namespace

ColourSlider::ColourSlider() { SetColour(0x000000FF); }

ColourSlider::~ColourSlider() {
    if (thumbBrush) DeleteObject(thumbBrush);
    if (pressedBrush) DeleteObject(pressedBrush);
    if (pattern_) DeleteObject(pattern_);
}

bool ColourSlider::SubclassDlgItem(int id, HWND parent) { return Attach(GetDlgItem(parent, id)); }

bool ColourSlider::Attach(HWND trackbar) { return trackbar && Subclass(trackbar); }

void ColourSlider::SetColour(COLORREF colour) {
    thumbColour = colour;
    thumbOutlineColour = channelShadowColour = channelLightColour = endMarkColour = 0x0000FF00;
    if (thumbBrush) DeleteObject(thumbBrush);
    if (pressedBrush) DeleteObject(pressedBrush);
    if (!pattern_) {
        // Rows alternate 0x55 and 0xAA: a one-pixel checkerboard (rows are word aligned).
        static const WORD rows[8] = {0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA, 0x55, 0xAA};
        pattern_ = CreateBitmap(8, 8, 1, 1, rows);
    }
    thumbBrush = CreateSolidBrush(thumbColour);
    pressedBrush = CreatePatternBrush(pattern_);
}

LRESULT ColourSlider::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    // Custom drawing is the slider's own; its other notifications are the parent's.
    if (msg == win::ReflectBase + WM_NOTIFY &&
        reinterpret_cast<NMHDR*>(lParam)->code == static_cast<UINT>(NM_CUSTOMDRAW))
        return OnCustomDraw(*reinterpret_cast<NMCUSTOMDRAW*>(lParam));
    return Window::WindowProc(msg, wParam, lParam);
}

LRESULT ColourSlider::OnCustomDraw(NMCUSTOMDRAW& draw) {
    HDC dc = draw.hdc;
    switch (draw.dwDrawStage) {
    case CDDS_PREPAINT:
        return CDRF_NOTIFYITEMDRAW | CDRF_NOTIFYPOSTPAINT;
    case CDDS_ITEMPREPAINT:
        if (draw.dwItemSpec == TBCD_THUMB) {
            const int saved = SaveDC(dc);
            HBRUSH fill = thumbBrush;
            if (draw.uItemState != 0) {
                // The monochrome pattern takes its two colours from the text and background colours.
                fill = pressedBrush;
                SetTextColor(dc, thumbColour);
                SetBkColor(dc, channelShadowColour);
                SetBrushOrgEx(dc, draw.rc.right % 8, draw.rc.top % 8, nullptr);
            }
            DrawEllipse(dc, draw.rc, thumbOutlineColour, scale(1), fill);
            RestoreDC(dc, saved);
            return CDRF_SKIPDEFAULT;
        }
        if (draw.dwItemSpec == TBCD_CHANNEL) return CDRF_NOTIFYPOSTPAINT;
        return CDRF_DODEFAULT;
    case CDDS_ITEMPOSTPAINT:
        if (draw.dwItemSpec == TBCD_CHANNEL) {
            const int t = scale(1);  // the frame's lines, and how far in it lies
            RECT frame = draw.rc;
            InflateRect(&frame, -t, -t);
            const int w = frame.right - frame.left, h = frame.bottom - frame.top;
            const RECT top = {frame.left, frame.top, frame.left + w - t, frame.top + t};
            const RECT left = {frame.left, frame.top, frame.left + t, frame.top + h - t};
            const RECT right = {frame.right - t, frame.top, frame.right, frame.bottom};
            const RECT bottom = {frame.left, frame.bottom - t, frame.right, frame.bottom};
            FillColour(dc, top, channelLightColour);
            FillColour(dc, left, channelLightColour);
            FillColour(dc, right, channelShadowColour);
            FillColour(dc, bottom, channelShadowColour);
            return CDRF_SKIPDEFAULT;
        }
        return CDRF_DODEFAULT;
    case CDDS_POSTPAINT: {
        RECT client;
        GetClientRect(draw.hdr.hwndFrom, &client);
        const LONG R = client.right, B = client.bottom;
        const LONG style = static_cast<LONG>(GetWindowLongPtrW(draw.hdr.hwndFrom, GWL_STYLE));
        // TBS_LEFT and TBS_TOP are the same bit: the thumb's side for either orientation.
        const bool otherSide = (style & TBS_LEFT) != 0;
        const LONG m = scale(1), s = scale(7);  // 1 pixel from the edge, 7 x 7 at 96 DPI
        RECT first, second;
        if (style & TBS_VERT) {
            const LONG x = otherSide ? R - m - s : m;
            first = {x, m, x + s, m + s};
            second = {x, B - m - s, x + s, B - m};
        } else {
            const LONG y = otherSide ? B - m - s : m;
            first = {m, y, m + s, y + s};
            second = {R - m - s, y, R - m, y + s};
        }
        DrawEllipse(dc, first, thumbColour, scale(1), GetStockObject(WHITE_BRUSH));
        const GdiObject mark(CreateSolidBrush(endMarkColour));
        DrawEllipse(dc, second, thumbColour, scale(1), mark.get());
        return CDRF_SKIPDEFAULT;
    }
    default:
        return CDRF_DODEFAULT;
    }
}

bool ColourSwatch::SubclassDlgItem(int id, HWND parent) { return Subclass(GetDlgItem(parent, id)); }

bool ColourSwatch::Attach(int id, HWND parent, COLORREF c) {
    if (!SubclassDlgItem(id, parent)) return false;
    colour = c;
    return true;
}

void ColourSwatch::SetColour(COLORREF c) {
    colour = c;
    if (hwnd_) InvalidateRect(hwnd_, nullptr, TRUE);
}

LRESULT ColourSwatch::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == win::ReflectBase + WM_DRAWITEM) {
        Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    }
    return Window::WindowProc(msg, wParam, lParam);
}

void ColourSwatch::Draw(const DRAWITEMSTRUCT& item) {
    FillColour(item.hDC, item.rcItem, colour);
    FrameColour(item.hDC, item.rcItem, 0x00FFFFFF, scale(1));
}
