// The owner-drawn popup menu: its entries, the measuring, the drawing into a memory DC, and a real
// tracking round trip in which the owner forwards the owner-draw messages and receives the command.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "ui/IconMenu.h"
#include "win/Window.h"

namespace {

// A 32-bit top-down DIB selected into a memory DC.
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
    // A pattern that no drawing step produces, to see what was touched.
    void FillPattern() {
        GdiFlush();
        for (int i = 0; i < width_ * height_; ++i)
            bits_[i] = 0x00103050u + static_cast<std::uint32_t>(i % 97);
    }
    bool SameAs(const std::uint32_t* saved) const {
        GdiFlush();
        return std::memcmp(saved, bits_, sizeof(std::uint32_t) * width_ * height_) == 0;
    }
    const std::uint32_t* bits() const { return bits_; }

private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    std::uint32_t* bits_ = nullptr;
};

constexpr COLORREF Outside = RGB(10, 120, 10);
constexpr COLORREF Strip = RGB(219, 216, 209);
constexpr COLORREF Field = RGB(249, 248, 247);
constexpr COLORREF Selected = RGB(177, 185, 207);
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF Marker = RGB(0, 200, 0);
constexpr int MarkerX = 5, MarkerY = 7;  // the marker pixel inside the test icon

// The icon loader the tests put in place: a 24 x 24 icon that is transparent except for one
// marker pixel, so its position on the canvas tells where the icon was drawn.
int loadCount = 0;
int lastLoadedId = 0;

HICON MarkerIcon(int resourceId) {
    ++loadCount;
    lastLoadedId = resourceId;
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = 24;
    bi.bmiHeader.biHeight = -24;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP colour = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    auto* px = static_cast<std::uint32_t*>(bits);
    std::memset(px, 0, 24 * 24 * 4);
    px[MarkerY * 24 + MarkerX] = 0xFF000000u | (GetRValue(Marker) << 16) | (GetGValue(Marker) << 8) |
                                 GetBValue(Marker);
    // Monochrome rows are padded to 16 bits: 24 pixels take 4 bytes. 1 keeps the screen pixel.
    unsigned char maskBits[24 * 4];
    std::memset(maskBits, 0xFF, sizeof maskBits);
    maskBits[MarkerY * 4 + MarkerX / 8] &= static_cast<unsigned char>(~(0x80 >> (MarkerX % 8)));
    HBITMAP mask = CreateBitmap(24, 24, 1, 1, maskBits);
    ICONINFO ii = {TRUE, 0, 0, mask, colour};
    HICON icon = CreateIconIndirect(&ii);
    DeleteObject(mask);
    DeleteObject(colour);
    return icon;
}

HICON NoIcon(int resourceId) {
    ++loadCount;
    lastLoadedId = resourceId;
    return nullptr;
}

class IconMenuDraw : public ::testing::Test {
protected:
    void SetUp() override {
        loadCount = 0;
        lastLoadedId = 0;
        previousLoader = IconMenu::SetIconLoader(&MarkerIcon);
        ASSERT_TRUE(canvas.Ok());
        canvas.Clear(Outside);
    }
    void TearDown() override { IconMenu::SetIconLoader(previousLoader); }

    void Draw(const IconMenuItem* item, bool selected, RECT box = {Left, Top, Left + 140, Top + 48}) {
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_MENU;
        dis.itemID = 1036;
        dis.itemAction = selected ? ODA_SELECT : ODA_DRAWENTIRE;
        dis.itemState = selected ? ODS_SELECTED : 0;
        dis.hDC = canvas.dc();
        dis.rcItem = box;
        dis.itemData = reinterpret_cast<ULONG_PTR>(item);
        menu.DrawItem(&dis);
    }

    // Finds the single marker pixel on the canvas; false if there is none or more than one.
    bool FindMarker(int* x, int* y) const {
        int found = 0;
        for (int j = 0; j < canvas.height(); ++j)
            for (int i = 0; i < canvas.width(); ++i)
                if (canvas.At(i, j) == Marker) {
                    *x = i;
                    *y = j;
                    ++found;
                }
        return found == 1;
    }

    static constexpr int Left = 17, Top = 11, Right = Left + 140, Bottom = Top + 48;
    Canvas canvas{200, 80};
    IconMenu menu;
    IconMenuItem item{133, 134, "  Feed Fish"};
    IconMenu::IconLoader previousLoader = nullptr;
};

// Everything outside the item box keeps its colour.
void ExpectOutsideUntouched(const Canvas& c, int left, int top, int right, int bottom) {
    int changed = 0;
    for (int y = 0; y < c.height(); ++y)
        for (int x = 0; x < c.width(); ++x) {
            bool inside = x >= left && x < right && y >= top && y < bottom;
            if (!inside && c.At(x, y) != Outside) ++changed;
        }
    EXPECT_EQ(changed, 0);
}

}  // namespace

TEST(IconMenuEntries, BuildsTheEightOwnerDrawnEntriesInOrder) {
    struct Expected {
        UINT id;
        int icon;
        const char* caption;
    } const expected[] = {
        {1036, 133, "  Feed Fish"},          {1035, 160, "  Touch Fish"},
        {1037, 134, "  Zoom In Fish"},       {1038, 135, "  Zoom Out Fish"},
        {1034, 180, "  Add/Delete Fish"},    {1050, 253, "  Custom Music"},
        {1052, 232, "  Custom Background"},  {1042, 175, "  Exit"},
    };
    IconMenu menu;
    EXPECT_EQ(menu.Handle(), nullptr);
    ASSERT_TRUE(menu.Build());
    ASSERT_NE(menu.Handle(), nullptr);
    ASSERT_EQ(GetMenuItemCount(menu.Handle()), 8);
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_DATA;
        ASSERT_TRUE(GetMenuItemInfoA(menu.Handle(), i, TRUE, &info));
        EXPECT_EQ(info.wID, expected[i].id);
        EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
        const auto* item = reinterpret_cast<const IconMenuItem*>(info.dwItemData);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->normalIcon, expected[i].icon);
        EXPECT_EQ(item->selectedIcon, expected[i].icon);
        EXPECT_STREQ(item->caption, expected[i].caption);
    }
    // Building again replaces the menu instead of leaking the first one; the destructor ends it.
    HMENU first = menu.Handle();
    ASSERT_TRUE(menu.Build());
    EXPECT_FALSE(IsMenu(first));
    EXPECT_EQ(GetMenuItemCount(menu.Handle()), 8);
    {
        IconMenu other;
        ASSERT_TRUE(other.Build());
        first = other.Handle();
    }
    EXPECT_FALSE(IsMenu(first));
}

TEST(IconMenuEntries, EveryEntryIs140By48WhateverItsData) {
    IconMenu menu;
    IconMenuItem longCaption{1, 1, "  A caption far longer than the entry is wide, in any font"};
    const ULONG_PTR data[] = {0, reinterpret_cast<ULONG_PTR>(&longCaption)};
    for (ULONG_PTR d : data) {
        MEASUREITEMSTRUCT mis = {};
        mis.CtlType = ODT_MENU;
        mis.itemWidth = 7;
        mis.itemHeight = 3;
        mis.itemData = d;
        menu.MeasureItem(&mis);
        EXPECT_EQ(mis.itemWidth, 140u);
        EXPECT_EQ(mis.itemHeight, 48u);
    }
}

TEST_F(IconMenuDraw, UnselectedEntryHasGreyStripAndNearWhiteField) {
    IconMenu::SetIconLoader(&NoIcon);
    item.caption = "";
    Draw(&item, false);
    // Strip: columns Left .. Left + 24; field: Left + 25 .. Right - 1, full height.
    for (int y = Top; y < Bottom; ++y) {
        EXPECT_EQ(canvas.At(Left, y), Strip) << y;
        EXPECT_EQ(canvas.At(Left + 24, y), Strip) << y;
        EXPECT_EQ(canvas.At(Left + 25, y), Field) << y;
        EXPECT_EQ(canvas.At(Right - 1, y), Field) << y;
    }
    EXPECT_EQ(canvas.At(Left + 12, Top + 24), Strip);
    EXPECT_EQ(canvas.At(Left + 80, Top + 24), Field);
    ExpectOutsideUntouched(canvas, Left, Top, Right, Bottom);
    EXPECT_EQ(lastLoadedId, 133);  // the normal icon
}

TEST_F(IconMenuDraw, SelectedEntryIsFramedBlackAndTintedBlueGrey) {
    IconMenu::SetIconLoader(&NoIcon);
    item.caption = "";
    Draw(&item, true);
    for (int x = Left; x < Right; ++x) {
        EXPECT_EQ(canvas.At(x, Top), Black) << x;
        EXPECT_EQ(canvas.At(x, Bottom - 1), Black) << x;
    }
    for (int y = Top; y < Bottom; ++y) {
        EXPECT_EQ(canvas.At(Left, y), Black) << y;
        EXPECT_EQ(canvas.At(Right - 1, y), Black) << y;
    }
    // Inside the frame one colour covers strip and field alike.
    for (int y = Top + 1; y < Bottom - 1; y += 5)
        for (int x = Left + 1; x < Right - 1; x += 3) EXPECT_EQ(canvas.At(x, y), Selected) << x << "," << y;
    EXPECT_EQ(canvas.At(Right - 2, Bottom - 2), Selected);
    ExpectOutsideUntouched(canvas, Left, Top, Right, Bottom);
    EXPECT_EQ(lastLoadedId, 134);  // the selected icon
}

TEST_F(IconMenuDraw, SelectedIconSitsOnePixelUpAndLeft) {
    item.caption = "";
    int x = -1, y = -1;
    Draw(&item, false);
    ASSERT_TRUE(FindMarker(&x, &y));
    EXPECT_EQ(x, Left + 3 + MarkerX);
    EXPECT_EQ(y, Top + 3 + MarkerY);
    EXPECT_EQ(lastLoadedId, 133);

    canvas.Clear(Outside);
    Draw(&item, true);
    int sx = -1, sy = -1;
    ASSERT_TRUE(FindMarker(&sx, &sy));
    EXPECT_EQ(sx, x - 1);
    EXPECT_EQ(sy, y - 1);
    EXPECT_EQ(lastLoadedId, 134);
    // The transparent rest of the icon left the fills alone.
    EXPECT_EQ(canvas.At(Left + 3, Top + 3), Selected);
    EXPECT_EQ(loadCount, 2);
}

TEST_F(IconMenuDraw, ResourceIconsLoadAt24By24WhenPresent) {
    IconMenu::SetIconLoader(nullptr);  // the program's own resources
    item = {31999, 31999, ""};         // no such icon: nothing drawn, nothing broken
    Draw(&item, false);
    for (int y = Top; y < Bottom; ++y)
        for (int x = Left; x < Left + 25; ++x) ASSERT_EQ(canvas.At(x, y), Strip) << x << "," << y;

    // The menu's own icons once they are part of the resources.
    HMODULE self = GetModuleHandleA(nullptr);
    for (const IconMenuEntry& e : IconMenu::Entries) {
        if (!FindResourceA(self, MAKEINTRESOURCEA(e.iconId), MAKEINTRESOURCEA(14) /* RT_GROUP_ICON */))
            continue;
        SCOPED_TRACE(e.iconId);
        HICON icon = static_cast<HICON>(LoadImageA(self, MAKEINTRESOURCEA(e.iconId), IMAGE_ICON, 24, 24, 0));
        ASSERT_NE(icon, nullptr);
        ICONINFO ii = {};
        ASSERT_TRUE(GetIconInfo(icon, &ii));
        BITMAP bm = {};
        GetObjectA(ii.hbmMask, sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, 24);
        if (ii.hbmColor) DeleteObject(ii.hbmColor);
        DeleteObject(ii.hbmMask);
        DestroyIcon(icon);

        // Drawn into the strip's icon box, and nowhere else in the strip.
        canvas.Clear(Outside);
        item = {e.iconId, e.iconId, ""};
        Draw(&item, false);
        int painted = 0, stray = 0;
        for (int y = Top; y < Bottom; ++y)
            for (int x = Left; x < Left + 25; ++x) {
                bool inBox = x >= Left + 3 && x < Left + 3 + 24 && y >= Top + 3 && y < Top + 3 + 24;
                if (canvas.At(x, y) != Strip) ++(inBox ? painted : stray);
            }
        EXPECT_GT(painted, 0);
        EXPECT_EQ(stray, 0);
    }
}

TEST_F(IconMenuDraw, EntryWithoutItemDataDrawsNothing) {
    canvas.FillPattern();
    std::uint32_t saved[200 * 80];
    std::memcpy(saved, canvas.bits(), sizeof saved);
    SetBkMode(canvas.dc(), OPAQUE);
    Draw(nullptr, false);
    EXPECT_TRUE(canvas.SameAs(saved));
    Draw(nullptr, true);
    EXPECT_TRUE(canvas.SameAs(saved));
    EXPECT_EQ(loadCount, 0);
}

TEST_F(IconMenuDraw, CaptionStartsEightPixelsIntoTheFieldInTheTextColourOverATransparentBackground) {
    IconMenu::SetIconLoader(&NoIcon);
    const COLORREF ink = RGB(200, 0, 0);
    SetTextColor(canvas.dc(), ink);
    SetBkColor(canvas.dc(), RGB(0, 0, 255));
    SetBkMode(canvas.dc(), OPAQUE);
    item.caption = "  Feed Fish";

    for (bool selected : {false, true}) {
        SCOPED_TRACE(selected);
        canvas.Clear(Outside);
        Draw(&item, selected);
        EXPECT_EQ(GetBkMode(canvas.dc()), TRANSPARENT);
        const COLORREF ground = selected ? Selected : Field;
        const int fieldLeft = Left + 25, fieldRight = selected ? Right - 1 : Right;
        const int rowTop = selected ? Top + 1 : Top, rowBottom = selected ? Bottom - 1 : Bottom;
        int firstX = Right, minY = Bottom, maxY = Top, inked = 0, opaqueCell = 0;
        for (int y = rowTop; y < rowBottom; ++y)
            for (int x = fieldLeft; x < fieldRight; ++x) {
                COLORREF c = canvas.At(x, y);
                if (c == ground) continue;
                if (c == RGB(0, 0, 255)) ++opaqueCell;
                if (c == ink) ++inked;
                if (x < firstX) firstX = x;
                if (y < minY) minY = y;
                if (y > maxY) maxY = y;
            }
        ASSERT_GT(inked, 0);
        EXPECT_EQ(opaqueCell, 0);
        EXPECT_GE(firstX, Left + 25 + 8);
        EXPECT_LT(firstX, Left + 25 + 8 + 30);  // two blanks, then the text
        // Single line, centred vertically: the glyphs sit around the middle of the 48-pixel row.
        const int middle = (Top + Bottom) / 2;
        EXPECT_LT(maxY - minY, 24);
        EXPECT_LE(minY, middle);
        EXPECT_GE(maxY, middle - 2);
        EXPECT_NEAR((minY + maxY) / 2.0, middle, 6.0);
        // The strip carries no text.
        for (int y = rowTop; y < rowBottom; ++y)
            for (int x = Left + 1; x < Left + 25; ++x)
                ASSERT_EQ(canvas.At(x, y), selected ? Selected : Strip) << x << "," << y;
    }
}

TEST_F(IconMenuDraw, CaptionWithoutBlanksBeginsRightAtTheIndent) {
    IconMenu::SetIconLoader(&NoIcon);
    SetTextColor(canvas.dc(), RGB(0, 0, 0));
    item.caption = "H";
    Draw(&item, false);
    int firstX = Right;
    for (int y = Top; y < Bottom; ++y)
        for (int x = Left + 25; x < Right; ++x)
            if (canvas.At(x, y) != Field && x < firstX) firstX = x;
    EXPECT_GE(firstX, Left + 25 + 8);
    EXPECT_LE(firstX, Left + 25 + 8 + 2);  // at most the glyph's own side bearing
}

namespace {

// An owner window that forwards menu owner-draw messages as the view does, and picks the first
// entry with the keyboard once the menu loop goes idle.
class MenuOwner : public win::Window {
public:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
        if (msg == WM_MEASUREITEM && wParam == 0) ++measureMessages;
        if (msg == WM_DRAWITEM && wParam == 0) {
            ++drawMessages;
            if (reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->itemState & ODS_SELECTED) ++selectedDraws;
        }
        LRESULT result = 0;
        if (IconMenu::HandleOwnerMessage(msg, wParam, lParam, &result)) {
            if (msg == WM_MEASUREITEM) {
                ++measured;
                lastMeasuredHeight = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam)->itemHeight;
            }
            return result;
        }
        if (msg == WM_ENTERIDLE && wParam == MSGF_MENU && !keysSent) {
            keysSent = true;
            menuWindow = reinterpret_cast<HWND>(lParam);
            if (menuWindow) GetWindowRect(menuWindow, &menuRect);
            trackedDuringIdle = IconMenu::Tracked();
            // Owner-draw messages for entries of some other menu are not the tracked menu's.
            IconMenuItem stranger{1, 1, "x"};
            MEASUREITEMSTRUCT mis = {};
            mis.CtlType = ODT_MENU;
            mis.itemData = reinterpret_cast<ULONG_PTR>(&stranger);
            DRAWITEMSTRUCT dis = {};
            dis.CtlType = ODT_MENU;
            dis.itemData = reinterpret_cast<ULONG_PTR>(&stranger);
            LRESULT ignored = 0;
            strangerTaken =
                IconMenu::HandleOwnerMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis), &ignored) ||
                IconMenu::HandleOwnerMessage(WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&dis), &ignored);
            PostMessageA(menuWindow, WM_KEYDOWN, VK_DOWN, 0);
            PostMessageA(menuWindow, WM_KEYUP, VK_DOWN, 0xC0000001);
            PostMessageA(menuWindow, WM_KEYDOWN, VK_RETURN, 0);
            PostMessageA(menuWindow, WM_KEYUP, VK_RETURN, 0xC0000001);
            return 0;
        }
        if (msg == WM_COMMAND && HIWORD(wParam) == 0 && lParam == 0) command = LOWORD(wParam);
        return Window::WindowProc(msg, wParam, lParam);
    }
    // The chosen entry's command is posted: pumps messages until it arrives (half a second at most).
    void WaitForCommand() {
        MSG m;
        for (int i = 0; i < 50 && command == 0; ++i) {
            while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&m);
            if (command == 0) Sleep(10);
        }
    }
    int measureMessages = 0, drawMessages = 0, selectedDraws = 0, measured = 0;
    UINT lastMeasuredHeight = 0;
    bool keysSent = false;
    HWND menuWindow = nullptr;
    RECT menuRect = {};
    IconMenu* trackedDuringIdle = nullptr;
    bool strangerTaken = true;
    int command = 0;
};

}  // namespace

TEST(IconMenuOwner, IgnoresMessagesWhenNoMenuIsTracked) {
    IconMenuItem item{133, 133, "  Feed Fish"};
    MEASUREITEMSTRUCT mis = {};
    mis.CtlType = ODT_MENU;
    mis.itemData = reinterpret_cast<ULONG_PTR>(&item);
    LRESULT result = 77;
    EXPECT_EQ(IconMenu::Tracked(), nullptr);
    EXPECT_FALSE(IconMenu::HandleOwnerMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis), &result));
    EXPECT_EQ(mis.itemHeight, 0u);
    EXPECT_EQ(result, 77);
}

TEST(IconMenuOwner, TrackingForwardsOwnerDrawAndDeliversTheChosenCommand) {
    IconMenu::IconLoader previous = IconMenu::SetIconLoader(&MarkerIcon);
    MenuOwner owner;
    const char* cls = win::RegisterWndClass(0, LoadCursorA(nullptr, IDC_ARROW), nullptr, nullptr);
    ASSERT_TRUE(owner.Create(cls, "menu owner", WS_POPUP, 0, 100, 120, 400, 400, nullptr, nullptr));

    IconMenu menu;
    ASSERT_TRUE(menu.Build());
    EXPECT_TRUE(menu.Track(owner.hwnd(), POINT{30, 40}));
    EXPECT_EQ(IconMenu::Tracked(), nullptr);
    EXPECT_TRUE(owner.keysSent);
    EXPECT_EQ(owner.trackedDuringIdle, &menu);
    EXPECT_FALSE(owner.strangerTaken);
    EXPECT_EQ(owner.measured, 8);
    EXPECT_EQ(owner.measureMessages, 8);
    EXPECT_EQ(owner.lastMeasuredHeight, 48u);
    EXPECT_GE(owner.drawMessages, 8);
    // The menu opened at the click point, in screen coordinates.
    EXPECT_EQ(owner.menuRect.left, 100 + 30);
    EXPECT_EQ(owner.menuRect.top, 120 + 40);
    EXPECT_GE(owner.menuRect.bottom - owner.menuRect.top, 8 * 48);

    // The command was posted to the owner.
    owner.WaitForCommand();
    EXPECT_EQ(owner.command, 1036);
    EXPECT_GE(owner.selectedDraws, 1);

    DestroyWindow(owner.hwnd());
    IconMenu::SetIconLoader(previous);
}

TEST(IconMenuOwner, ShowPopupMenuLeavesNoMenuBehind) {
    MenuOwner owner;
    const char* cls = win::RegisterWndClass(0, LoadCursorA(nullptr, IDC_ARROW), nullptr, nullptr);
    ASSERT_TRUE(owner.Create(cls, "menu owner", WS_POPUP, 0, 0, 0, 300, 300, nullptr, nullptr));
    ShowPopupMenu(owner.hwnd(), POINT{10, 10});
    EXPECT_TRUE(owner.keysSent);
    EXPECT_EQ(IconMenu::Tracked(), nullptr);
    owner.WaitForCommand();
    EXPECT_EQ(owner.command, 1036);
    DestroyWindow(owner.hwnd());
}
