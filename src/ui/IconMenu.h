#pragma once
// The view's context menu: eight owner-drawn entries, each a tall row with a 24 x 24 icon in a grey
// strip on the left and its caption on a near-white field; the entry under the mouse is framed and
// tinted blue-grey.
//
// Owner drawing: the system asks the menu's owner window to measure and draw the entries
// (WM_MEASUREITEM and WM_DRAWITEM with wParam 0, CtlType ODT_MENU). While a menu is tracked it is
// registered as the tracked menu, and the owner's window procedure must offer every message to
// IconMenu::HandleOwnerMessage first:
//
//     LRESULT result;
//     if (IconMenu::HandleOwnerMessage(msg, wParam, lParam, &result)) return result;
//
// Everything else (control reflection, the default procedure) carries on as before.
#include <windows.h>

#include "Dpi.h"

// One entry's picture and text. The menu item's data is the address of this record, so it has to
// stay alive while the menu is tracked.
struct IconMenuItem {
    int normalIcon;       // icon resource drawn when the entry is not selected
    int selectedIcon;     // icon resource drawn when the entry is selected
    const char* caption;  // static text
};

// One row of the fixed entry list.
struct IconMenuEntry {
    UINT commandId;
    int iconId;
    const char* caption;
};

class IconMenu {
public:
    static constexpr int EntryCount = 8;
    // The entry's layout at 96 DPI; drawn scaled by `scale` (the caption's font is the menu font,
    // which the system already sizes for the screen).
    static constexpr int ItemWidth = 140;
    static constexpr int ItemHeight = 48;
    static constexpr int IconStripWidth = 25;
    static constexpr int IconSize = 24;
    static constexpr int CaptionIndent = 8;
    static constexpr int IconInset = 3;

    // The entries in menu order.
    static const IconMenuEntry Entries[EntryCount];

    IconMenu() = default;
    ~IconMenu();  // destroys the popup menu
    IconMenu(const IconMenu&) = delete;
    IconMenu& operator=(const IconMenu&) = delete;

    // Creates an empty popup menu and appends the eight entries as owner-drawn items whose data is
    // the address of their IconMenuItem. A menu built before is destroyed first. False on failure.
    bool Build();

    // Shows the built menu at a point in the owner's client area and returns when tracking ends.
    // The chosen entry's id arrives at the owner as WM_COMMAND. `align` holds TrackPopupMenu's
    // alignment flags (0: the menu's top-left corner at the point). False if nothing was built or
    // the menu could not be shown.
    bool Track(HWND owner, POINT clientPoint, UINT align = 0);

    HMENU Handle() const { return menu_; }

    DpiScale scale = DpiScale::System();

    void MeasureItem(MEASUREITEMSTRUCT* mis) const;
    void DrawItem(const DRAWITEMSTRUCT* dis) const;

    // Routes the owner's WM_MEASUREITEM / WM_DRAWITEM for menu entries to the menu being tracked.
    // Returns true with *result set when the message was one of its entries; false otherwise
    // (no menu tracked, not a menu message, or an entry of some other menu).
    static bool HandleOwnerMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);

    // The menu being tracked, or nullptr.
    static IconMenu* Tracked() { return tracked_; }

    // Icons come from the program's resources at `size` x `size` (24 at 96 DPI, scaled). The
    // loader returns a new icon (or nullptr) that the caller destroys; passing nullptr restores
    // the resource loader. Returns the loader that was in place.
    using IconLoader = HICON (*)(int resourceId, int size);
    static IconLoader SetIconLoader(IconLoader loader);

private:
    bool OwnsItemData(ULONG_PTR data) const;

    HMENU menu_ = nullptr;
    IconMenuItem items_[EntryCount] = {};
    static IconMenu* tracked_;
};

// What the view does on a right-button press (or Shift+F10, or the menu key): builds the menu,
// tracks it at the client point with `owner` as the owner window (TPM_RIGHTBUTTON, and the
// alignment flags `align`) and destroys it again. The owner's window procedure must forward its
// messages through IconMenu::HandleOwnerMessage (see above).
void ShowPopupMenu(HWND owner, POINT clientPoint, UINT align = 0);
