#include "ui/IconMenu.h"

#include "ui/ControlDraw.h"

const IconMenuEntry IconMenu::Entries[IconMenu::EntryCount] = {
    {1036, 133, "  Feed Fish"},
    {1035, 160, "  Touch Fish"},
    {1037, 134, "  Zoom In Fish"},
    {1038, 135, "  Zoom Out Fish"},
    {1034, 180, "  Add/Delete Fish"},
    {1050, 253, "  Custom Music"},
    {1052, 232, "  Custom Background"},
    {1042, 175, "  Exit"},
};

IconMenu* IconMenu::tracked_ = nullptr;

namespace {

const COLORREF SelectedFill = RGB(177, 185, 207);
const COLORREF StripFill = RGB(219, 216, 209);
const COLORREF FieldFill = RGB(249, 248, 247);

HICON LoadResourceIcon(int resourceId, int size) {
    return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resourceId),
                                         IMAGE_ICON, size, size, 0));
}

IconMenu::IconLoader iconLoader = &LoadResourceIcon;


}  // namespace

IconMenu::~IconMenu() {
    if (tracked_ == this) tracked_ = nullptr;
    if (menu_) DestroyMenu(menu_);
}

bool IconMenu::Build() {
    if (menu_) DestroyMenu(menu_);
    menu_ = CreatePopupMenu();
    if (!menu_) return false;
    for (int i = 0; i < EntryCount; ++i) {
        items_[i] = {Entries[i].iconId, Entries[i].iconId, Entries[i].caption};
        if (!AppendMenuA(menu_, MF_OWNERDRAW, Entries[i].commandId,
                         reinterpret_cast<LPCSTR>(&items_[i]))) {
            DestroyMenu(menu_);
            menu_ = nullptr;
            return false;
        }
    }
    return true;
}

bool IconMenu::Track(HWND owner, POINT clientPoint, UINT align) {
    if (!menu_) return false;
    POINT screen = clientPoint;
    ClientToScreen(owner, &screen);
    IconMenu* previous = tracked_;
    tracked_ = this;
    BOOL shown = TrackPopupMenu(menu_, TPM_RIGHTBUTTON | align, screen.x, screen.y, 0, owner, nullptr);
    tracked_ = previous;
    return shown != FALSE;
}

void IconMenu::MeasureItem(MEASUREITEMSTRUCT* mis) const {
    mis->itemWidth = static_cast<UINT>(scale(ItemWidth));
    mis->itemHeight = static_cast<UINT>(scale(ItemHeight));
}

void IconMenu::DrawItem(const DRAWITEMSTRUCT* dis) const {
    HDC dc = dis->hDC;
    const RECT box = dis->rcItem;
    const bool selected = (dis->itemState & ODS_SELECTED) != 0;
    const auto* item = reinterpret_cast<const IconMenuItem*>(dis->itemData);
    SetBkMode(dc, TRANSPARENT);
    if (!item) return;

    const int px = scale(1), stripRight = box.left + scale(IconStripWidth);
    RECT strip = {box.left, box.top, stripRight, box.bottom};
    RECT field = {stripRight, box.top, box.right, box.bottom};

    if (selected) {
        FrameColour(dc, box, RGB(0, 0, 0), px);
        RECT inner = box;
        InflateRect(&inner, -px, -px);
        FillColour(dc, inner, SelectedFill);
    } else {
        FillColour(dc, strip, StripFill);
        FillColour(dc, field, FieldFill);
    }

    RECT iconBox = strip;
    InflateRect(&iconBox, -scale(IconInset), -scale(IconInset));
    if (selected) OffsetRect(&iconBox, -px, -px);
    // Each draw loads its own copy of the icon and gives it back, so nothing piles up while the
    // user moves over the entries.
    const int iconSize = scale(IconSize);
    if (HICON icon = iconLoader(selected ? item->selectedIcon : item->normalIcon, iconSize)) {
        DrawIconEx(dc, iconBox.left, iconBox.top, icon, iconSize, iconSize, 0, nullptr, DI_NORMAL);
        DestroyIcon(icon);
    }

    if (item->caption) {
        RECT text = field;
        text.left += scale(CaptionIndent);
        DrawTextA(dc, item->caption, -1, &text, DT_SINGLELINE | DT_VCENTER);
    }
}

bool IconMenu::OwnsItemData(ULONG_PTR data) const {
    for (const IconMenuItem& item : items_)
        if (data == reinterpret_cast<ULONG_PTR>(&item)) return true;
    return false;
}

bool IconMenu::HandleOwnerMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (!tracked_ || wParam != 0 || lParam == 0) return false;
    if (msg == WM_MEASUREITEM) {
        auto* mis = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
        if (mis->CtlType != ODT_MENU || !tracked_->OwnsItemData(mis->itemData)) return false;
        tracked_->MeasureItem(mis);
        *result = TRUE;
        return true;
    }
    if (msg == WM_DRAWITEM) {
        const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (dis->CtlType != ODT_MENU || reinterpret_cast<HMENU>(dis->hwndItem) != tracked_->menu_)
            return false;
        tracked_->DrawItem(dis);
        *result = TRUE;
        return true;
    }
    return false;
}

IconMenu::IconLoader IconMenu::SetIconLoader(IconLoader loader) {
    IconLoader previous = iconLoader;
    iconLoader = loader ? loader : &LoadResourceIcon;
    return previous;
}

void ShowPopupMenu(HWND owner, POINT clientPoint, UINT align) {
    IconMenu menu;
    if (menu.Build()) menu.Track(owner, clientPoint, align);
}
