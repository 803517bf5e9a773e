#include "ui/LedCheckButton.h"

#include <windowsx.h>

#include "ui/ControlDraw.h"

LedCheckButton::~LedCheckButton() { ReleaseIcons(); }

void LedCheckButton::ReleaseIcons() {
    if (iconOn) DestroyIcon(iconOn);
    if (iconOff) DestroyIcon(iconOff);
    iconOn = iconOff = nullptr;
    iconOnWidth = iconOnHeight = iconOffWidth = iconOffHeight = 0;
}

bool LedCheckButton::SubclassDlgItem(int id, HWND parent) { return Attach(GetDlgItem(parent, id)); }

bool LedCheckButton::Attach(HWND button) {
    if (!button) return false;
    style = (static_cast<DWORD>(GetWindowLongPtrW(button, GWL_STYLE)) & ~0x1Fu) | BS_OWNERDRAW;
    SetWindowLongPtrW(button, GWL_STYLE, static_cast<LONG_PTR>(style));
    SendMessageW(button, BM_SETSTYLE, BS_OWNERDRAW, FALSE);
    return Subclass(button);
}

void LedCheckButton::setCheck(bool on, bool redraw) {
    isOn = on;
    if (redraw && hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void LedCheckButton::setIcons(int onId, int offId) {
    ReleaseIcons();
    // An icon's size is twice its hot spot (the hot spot of an icon is its centre).
    auto sizeOf = [](HICON icon, int* w, int* h) {
        ICONINFO info;
        if (!icon || !GetIconInfo(icon, &info)) return false;
        *w = static_cast<int>(info.xHotspot) * 2;
        *h = static_cast<int>(info.yHotspot) * 2;
        if (info.hbmMask) DeleteObject(info.hbmMask);
        if (info.hbmColor) DeleteObject(info.hbmColor);
        return true;
    };
    HINSTANCE instance = GetModuleHandleW(nullptr);
    auto load = [&](int id) {
        HICON icon = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, 0, 0, 0));
        int w, h;
        if (!icon || scale.isDesign() || !sizeOf(icon, &w, &h)) return icon;
        DestroyIcon(icon);
        return static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, scale(w), scale(h), 0));
    };
    iconOn = load(onId);
    iconOff = load(offId);
    if (!sizeOf(iconOn, &iconOnWidth, &iconOnHeight) || !sizeOf(iconOff, &iconOffWidth, &iconOffHeight))
        ReleaseIcons();
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void LedCheckButton::setColours(COLORREF on, COLORREF off) {
    onColour = on;
    offColour = off;
    if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

LRESULT LedCheckButton::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case win::ReflectBase + WM_DRAWITEM:
        Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        return TRUE;
    case win::ReflectBase + WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED) break;
        // Toggle first, then let the parent handle the click as a plain command.
        isOn = !isOn;
        InvalidateRect(hwnd_, nullptr, FALSE);
        PostMessageW(GetParent(hwnd_), WM_COMMAND, static_cast<WPARAM>(GetDlgCtrlID(hwnd_)), 0);
        return 1;  // consumed: the parent sees only the posted command
    case BM_SETCHECK:
        setCheck(wParam == BST_CHECKED || wParam == BST_INDETERMINATE, true);
        return 0;
    case BM_GETCHECK:
        return isOn ? BST_CHECKED : BST_UNCHECKED;
    case WM_MOUSEMOVE:
        OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), (wParam & MK_LBUTTON) != 0);
        break;
    case WM_MOUSELEAVE:
        hovering = false;
        InvalidateRect(hwnd_, nullptr, FALSE);
        break;
    default:
        break;
    }
    return Window::WindowProc(msg, wParam, lParam);
}

void LedCheckButton::OnMouseMove(int x, int y, bool leftHeld) {
    if (leftHeld && !hovering) return;
    POINT p = {x, y};
    ClientToScreen(hwnd_, &p);
    if (WindowFromPoint(p) == hwnd_) {
        if (hovering) return;
        hovering = true;
        InvalidateRect(hwnd_, nullptr, FALSE);
        TRACKMOUSEEVENT track = {sizeof track, TME_LEAVE, hwnd_, 0};
        TrackMouseEvent(&track);
    } else if (hovering) {
        hovering = false;
        InvalidateRect(hwnd_, nullptr, FALSE);
    }
}

void LedCheckButton::Draw(const DRAWITEMSTRUCT& item) {
    pressed = (item.itemState & ODS_SELECTED) != 0;
    focused = (item.itemState & ODS_FOCUS) != 0;
    disabled = (item.itemState & ODS_DISABLED) != 0;
    OffscreenDC off(item.hDC, item.rcItem);
    HDC dc = off.dc();
    SetBkMode(dc, TRANSPARENT);
    RECT rc = item.rcItem;

    const int px = scale(1);  // one pixel of the 96-DPI design
    const GdiObject outline(OutlinePen(RGB(0, 0, 0), px));

    // The background: a rounded highlight box while hovered, else plain button face.
    if (hovering) {
        const GdiObject fill(CreateSolidBrush(GetSysColor(COLOR_HIGHLIGHT)));
        const PenAndBrush tools(dc, outline.get(), fill.get());
        RoundRect(dc, rc.left, rc.top, rc.right, rc.bottom, scale(4), scale(4));
    } else {
        FillColour(dc, rc, GetSysColor(COLOR_BTNFACE));
    }
    InflateRect(&rc, -scale(2), -scale(2));
    if (focused) DrawFocusRect(dc, &rc);
    InflateRect(&rc, -px, -px);

    // The lamp (or icon) square at the left, or at the right with left text.
    const bool icons = iconOn && iconOff;
    const int size = icons ? iconOnWidth : scale(ledSize);
    const int height = rc.bottom - rc.top;
    RECT lamp, caption = rc;
    lamp.top = item.rcItem.top + (height - size) / 2 + scale(2);
    lamp.bottom = lamp.top + size;
    if (style & BS_LEFTTEXT) {
        lamp.right = rc.right;
        lamp.left = rc.right - size;
        caption.right = lamp.left - scale(3);
    } else {
        lamp.left = rc.left;
        lamp.right = rc.left + size;
        caption.left = lamp.right + scale(3);
    }
    if (pressed) OffsetRect(&lamp, px, px);

    if (icons) {
        HICON icon = isOn ? iconOn : iconOff;
        const int w = isOn ? iconOnWidth : iconOffWidth, h = isOn ? iconOnHeight : iconOffHeight;
        DrawStateW(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(icon), 0, lamp.left, lamp.top, w, h,
                   DST_ICON | (disabled ? DSS_DISABLED : DSS_NORMAL));
    } else {
        const GdiObject fill(CreateSolidBrush(disabled ? GetSysColor(COLOR_BTNSHADOW) : isOn ? onColour : offColour));
        const GdiObject ring(OutlinePen(offColour, px));
        {
            const PenAndBrush tools(dc, outline.get(), fill.get());
            Ellipse(dc, lamp.left, lamp.top, lamp.right, lamp.bottom);
        }
        const PenAndBrush tools(dc, ring.get(), GetStockObject(NULL_BRUSH));
        Ellipse(dc, lamp.left + px, lamp.top + px, lamp.right - px, lamp.bottom - px);
    }

    const std::wstring text = WindowTextOf(hwnd_);
    if (text.empty()) return;
    UINT format = DT_SINGLELINE | DT_VCENTER;
    if ((style & BS_CENTER) == BS_CENTER) format |= DT_CENTER;
    else if (style & BS_RIGHT) format |= DT_RIGHT;
    else format |= DT_LEFT;
    if (pressed) OffsetRect(&caption, px, px);
    HGDIOBJ oldFont = SelectWindowFont(hwnd_, dc);
    if (disabled) {
        RECT engraved = caption;
        OffsetRect(&engraved, px, px);
        SetTextColor(dc, GetSysColor(COLOR_BTNHILIGHT));
        DrawTextW(dc, text.c_str(), -1, &engraved, format);
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
    } else {
        SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
    }
    DrawTextW(dc, text.c_str(), -1, &caption, format);
    SelectObject(dc, oldFont);
}
