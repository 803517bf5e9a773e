#include "ui/FlatButton.h"

#include <windowsx.h>

#include "ui/ControlDraw.h"

FlatButton::FlatButton()
    : bgOut(GetSysColor(COLOR_BTNFACE)), bgIn(GetSysColor(COLOR_BTNFACE)),
      fgOut(GetSysColor(COLOR_BTNTEXT)), fgIn(GetSysColor(COLOR_BTNTEXT)) {}

FlatButton::~FlatButton() { ReleaseIcons(); }

void FlatButton::ReleaseIcons() {
    if (iconOut && iconOut != iconIn) DestroyIcon(iconOut);
    if (iconIn) DestroyIcon(iconIn);
    iconIn = iconOut = nullptr;
}

bool FlatButton::SubclassDlgItem(int id, HWND parent) { return Attach(GetDlgItem(parent, id)); }

bool FlatButton::Attach(HWND button) {
    if (!button) return false;
    // The button keeps its other style bits; its type becomes owner-drawn.
    const LONG_PTR old = GetWindowLongPtrW(button, GWL_STYLE);
    SendMessageW(button, BM_SETSTYLE, (old & 0xF0) | BS_OWNERDRAW, TRUE);
    return Subclass(button);
}

void FlatButton::setIcon(int iconInId, int iconOutId, int width, int height) {
    ReleaseIcons();
    HINSTANCE instance = GetModuleHandleW(nullptr);
    // At 100 % the icons' own size, drawn in width x height; above it the icons made at that size.
    const int w = scale.isDesign() ? 0 : scale(width), h = scale.isDesign() ? 0 : scale(height);
    iconIn = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(iconInId), IMAGE_ICON, w, h, 0));
    iconOut = iconOutId ? static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(iconOutId), IMAGE_ICON, w, h, 0))
                        : iconIn;
    iconWidth = static_cast<unsigned char>(scale(width));
    iconHeight = static_cast<unsigned char>(scale(height));
    if (hwnd_) RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

LRESULT FlatButton::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case win::ReflectBase + WM_DRAWITEM:
        Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case WM_MOUSEMOVE:
        if (!(wParam & MK_LBUTTON) || hovering) OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    case WM_KILLFOCUS:
    case WM_CAPTURECHANGED:
        if (hovering) {
            hovering = false;
            InvalidateRect(hwnd_, nullptr, FALSE);
        }
        break;
    default:
        break;
    }
    return Window::WindowProc(msg, wParam, lParam);
}

void FlatButton::OnMouseMove(int x, int y) {
    if (!flat) return;
    if (GetCapture() != hwnd_) {
        if (!GetParent(hwnd_)) return;
        hovering = true;
        SetCapture(hwnd_);
        InvalidateRect(hwnd_, nullptr, FALSE);
        return;
    }
    RECT client;
    GetClientRect(hwnd_, &client);
    const POINT p = {x, y};
    if (PtInRect(&client, p)) return;
    hovering = false;
    InvalidateRect(hwnd_, nullptr, FALSE);
    // While the button is held the button itself keeps the capture until it is released.
    if (!(GetKeyState(VK_LBUTTON) & 0x8000)) ReleaseCapture();
}

void FlatButton::Draw(const DRAWITEMSTRUCT& item) {
    OffscreenDC off(item.hDC, item.rcItem);
    HDC dc = off.dc();
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    const bool focused = (item.itemState & ODS_FOCUS) != 0;
    const bool disabled = (item.itemState & ODS_DISABLED) != 0;
    const bool lit = hovering || pressed;
    RECT rc = item.rcItem;

    if (!flat && focused) {
        FrameRect(dc, &rc, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&rc, -1, -1);
    }
    FillColour(dc, rc, lit ? bgIn : bgOut);

    const COLORREF shadow = GetSysColor(COLOR_BTNSHADOW), highlight = GetSysColor(COLOR_BTNHILIGHT);
    if (pressed) {
        if (flat) {
            if (drawBorder) {
                const GdiObject dark(CreatePen(PS_SOLID, 1, shadow)), light(CreatePen(PS_SOLID, 1, highlight));
                const HGDIOBJ old = SelectObject(dc, dark.get());
                MoveToEx(dc, rc.left, rc.bottom - 1, nullptr);
                LineTo(dc, rc.left, rc.top);
                LineTo(dc, rc.right - 1, rc.top);
                SelectObject(dc, light.get());
                MoveToEx(dc, rc.right - 1, rc.top, nullptr);
                LineTo(dc, rc.right - 1, rc.bottom - 1);
                LineTo(dc, rc.left - 1, rc.bottom - 1);
                SelectObject(dc, old);
            }
        } else {
            const GdiObject frame(CreateSolidBrush(shadow));
            FrameRect(dc, &rc, frame.brush());
        }
    } else if (!flat) {
        RECT edge = rc;
        DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT);
    } else if (drawBorder && hovering) {
        RECT edge = rc;
        DrawEdge(dc, &edge, BDR_RAISEDINNER, BF_RECT);
    }

    const std::wstring text = showText ? WindowTextOf(hwnd_) : std::wstring();
    RECT captionArea = rc;
    HICON icon = lit ? iconIn : iconOut;
    if (icon) {
        const int w = iconWidth, h = iconHeight;
        int x, y;
        if (iconAlign == 0) {
            x = text.empty() ? rc.left + (rc.right - rc.left - w) / 2 : rc.left + scale(3);
            y = rc.top + (rc.bottom - rc.top - h) / 2;
            if (!text.empty()) captionArea.left = x + w;
        } else {
            x = rc.left + (rc.right - rc.left - w) / 2;
            y = text.empty() ? rc.top + (rc.bottom - rc.top - h) / 2 : rc.top + scale(3);
            if (!text.empty()) captionArea.top = y + h;
        }
        if (pressed) x += scale(1), y += scale(1);
        DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, x, y, w, h,
                   DST_ICON | (disabled ? DSS_DISABLED : DSS_NORMAL));
    }

    if (!text.empty()) {
        if (pressed) OffsetRect(&captionArea, scale(1), scale(1));
        HGDIOBJ oldFont = SelectWindowFont(hwnd_, dc);
        SetTextColor(dc, lit ? fgIn : fgOut);
        SetBkColor(dc, lit ? bgIn : bgOut);
        SetBkMode(dc, TRANSPARENT);
        RECT measured = captionArea;
        DrawTextW(dc, text.c_str(), -1, &measured, DT_SINGLELINE | DT_CALCRECT);
        const int tw = measured.right - measured.left, th = measured.bottom - measured.top;
        const int tx = captionArea.left + (captionArea.right - captionArea.left - tw) / 2;
        const int ty = captionArea.top + (captionArea.bottom - captionArea.top - th) / 2;
        if (disabled) {
            DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(text.c_str()), 0, tx, ty, tw, th,
                       DST_PREFIXTEXT | DSS_DISABLED);
        } else {
            DrawTextW(dc, text.c_str(), -1, &captionArea, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
        }
        SelectObject(dc, oldFont);
    }

    if (focused && (!flat || flatFocus)) {
        RECT focus = item.rcItem;
        InflateRect(&focus, -scale(3), -scale(3));
        DrawFocusRect(dc, &focus);
    }
}
