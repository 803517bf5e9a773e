// The owner-drawn popup menu: its entries, the measuring and the drawing into a memory DC.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

#include "Canvas.h"
#include "ui/IconMenu.h"

namespace {

constexpr COLORREF Outside = RGB(10, 120, 10);
constexpr COLORREF Strip = RGB(219, 216, 209);
constexpr COLORREF Field = RGB(249, 248, 247);
constexpr COLORREF Selected = RGB(177, 185, 207);
constexpr COLORREF Black = RGB(0, 0, 0);
constexpr COLORREF Marker = RGB(0, 200, 0);
constexpr int MarkerX = 5, MarkerY = 7;  // the marker pixel inside the test icon

// The tests' icon loader: a 24 x 24 icon, transparent but for one marker pixel that tells where
// the icon was drawn.
int loadCount = 0;
int lastLoadedId = 0;

HICON MarkerIcon(int resourceId, int /*size*/) {
    ++loadCount;
    lastLoadedId = resourceId;
    std::uint32_t colour[24 * 24] = {};
    colour[MarkerY * 24 + MarkerX] = (GetRValue(Marker) << 16) | (GetGValue(Marker) << 8) | GetBValue(Marker);
    // Monochrome rows are padded to 16 bits: 24 pixels take 4 bytes. 1 keeps the screen pixel.
    unsigned char mask[24 * 4];
    std::memset(mask, 0xFF, sizeof mask);
    mask[MarkerY * 4 + MarkerX / 8] &= static_cast<unsigned char>(~(0x80 >> (MarkerX % 8)));
    return CreateIcon(nullptr, 24, 24, 1, 32, mask, reinterpret_cast<const BYTE*>(colour));
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

    void Draw(const IconMenuItem* item, bool selected) {
        DRAWITEMSTRUCT dis = {};
        dis.CtlType = ODT_MENU;
        dis.itemID = 1036;
        dis.itemAction = selected ? ODA_SELECT : ODA_DRAWENTIRE;
        dis.itemState = selected ? ODS_SELECTED : 0;
        dis.hDC = canvas.dc();
        dis.rcItem = {Left, Top, Right(), Bottom()};
        dis.itemData = reinterpret_cast<ULONG_PTR>(item);
        menu.DrawItem(&dis);
    }

    // The entry's box: 140 x 48 at 96 DPI, scaled with the menu.
    static constexpr int Left = 17, Top = 11;
    int Right() const { return Left + menu.scale(140); }
    int Bottom() const { return Top + menu.scale(48); }
    Canvas canvas{240, 100};
    IconMenu menu;
    IconMenuItem item{133, 134, "  Feed Fish"};
    IconMenu::IconLoader previousLoader = nullptr;
};

}  // namespace

// A menu is built for each popup, and its destructor ends it. (The commands: the end-to-end tests.)
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
    HMENU handle = nullptr;
    {
        IconMenu menu;
        ASSERT_TRUE(menu.Build());
        handle = menu.Handle();
        ASSERT_EQ(GetMenuItemCount(handle), 8);
        for (int i = 0; i < 8; ++i) {
            SCOPED_TRACE(i);
            MENUITEMINFOA info = {};
            info.cbSize = sizeof info;
            info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_DATA;
            ASSERT_TRUE(GetMenuItemInfoA(handle, i, TRUE, &info));
            EXPECT_EQ(info.wID, expected[i].id);
            EXPECT_TRUE(info.fType & MFT_OWNERDRAW);
            const auto* item = reinterpret_cast<const IconMenuItem*>(info.dwItemData);
            ASSERT_NE(item, nullptr);
            EXPECT_EQ(item->normalIcon, expected[i].icon);
            EXPECT_EQ(item->selectedIcon, expected[i].icon);
            EXPECT_STREQ(item->caption, expected[i].caption);
        }
    }
    EXPECT_FALSE(IsMenu(handle));
}

// Unselected: a grey strip (Left .. Left + 24) and a near-white field; selected: a black frame
// around one blue-grey tint, and the icon one pixel up and left. Nothing outside the box is
// touched, and an entry without item data draws nothing. At 144 DPI every length is half as long
// again (the 36 x 36 icon 5 pixels in, shifted 2 when selected).
TEST_F(IconMenuDraw, FillsAndIconOfTheUnselectedAndSelectedEntry) {
    SetBkMode(canvas.dc(), OPAQUE);
    Draw(nullptr, false);
    Draw(nullptr, true);
    EXPECT_EQ(canvas.Count(Outside), canvas.width() * canvas.height());
    EXPECT_EQ(loadCount, 0);
    item.caption = "";
    const struct {
        int dpi, strip, frame, inset, shift, iconSize;
    } layouts[] = {{96, 25, 1, 3, 1, 24}, {144, 38, 2, 5, 2, 36}};
    for (const auto& l : layouts) {
        menu.scale = DpiScale{l.dpi};
        for (int selected : {0, 1}) {
            SCOPED_TRACE(::testing::Message() << l.dpi << " DPI, selected " << selected);
            canvas.Clear(Outside);
            Draw(&item, selected);
            const int iconX = Left + l.inset - selected * l.shift, iconY = Top + l.inset - selected * l.shift;
            // The marker pixel of the 24 x 24 test icon, stretched to the icon's size.
            const int markerLeft = iconX + MarkerX * l.iconSize / 24, markerRight = iconX + ((MarkerX + 1) * l.iconSize + 23) / 24;
            const int markerTop = iconY + MarkerY * l.iconSize / 24, markerBottom = iconY + ((MarkerY + 1) * l.iconSize + 23) / 24;
            int markers = 0;
            for (int y = 0; y < canvas.height(); ++y)
                for (int x = 0; x < canvas.width(); ++x) {
                    const bool inside = x >= Left && x < Right() && y >= Top && y < Bottom();
                    const bool edge = x < Left + l.frame || x >= Right() - l.frame || y < Top + l.frame ||
                                      y >= Bottom() - l.frame;
                    const COLORREF want = selected ? (edge ? Black : Selected) : (x < Left + l.strip ? Strip : Field);
                    const COLORREF got = canvas.At(x, y);
                    if (got == Marker && x >= markerLeft && x < markerRight && y >= markerTop && y < markerBottom) {
                        ++markers;
                        continue;
                    }
                    ASSERT_EQ(got, inside ? want : Outside) << x << "," << y;
                }
            EXPECT_GT(markers, 0);
            EXPECT_EQ(lastLoadedId, selected ? 134 : 133);  // the normal or the selected icon
        }
    }
    EXPECT_EQ(loadCount, 4);
}

// With the program's own loader: a missing icon draws nothing and breaks nothing; a real one lands
// in the strip's 24 x 24 icon box and nowhere else in the strip.
TEST_F(IconMenuDraw, ResourceIconsDrawIntoTheIconBox) {
    IconMenu::SetIconLoader(nullptr);
    for (int id : {31999, 133}) {
        canvas.Clear(Outside);
        item = {id, id, ""};
        Draw(&item, false);
        int painted = 0, stray = 0;
        for (int y = Top; y < Bottom(); ++y)
            for (int x = Left; x < Left + 25; ++x) {
                const bool inBox = x >= Left + 3 && x < Left + 3 + 24 && y >= Top + 3 && y < Top + 3 + 24;
                if (canvas.At(x, y) != Strip) ++(inBox ? painted : stray);
            }
        EXPECT_EQ(painted > 0, id == 133) << id;
        EXPECT_EQ(stray, 0) << id;
    }
}

TEST_F(IconMenuDraw, CaptionStartsEightPixelsIntoTheFieldInTheTextColourOverATransparentBackground) {
    const COLORREF ink = RGB(200, 0, 0);
    SetTextColor(canvas.dc(), ink);
    SetBkColor(canvas.dc(), RGB(0, 0, 255));
    SetBkMode(canvas.dc(), OPAQUE);
    // "H" starts at the indent but for its side bearing; a real caption, selected, soon after it.
    for (bool selected : {false, true}) {
        item.caption = selected ? "  Feed Fish" : "H";
        SCOPED_TRACE(item.caption);
        canvas.Clear(Outside);
        Draw(&item, selected);
        const COLORREF ground = selected ? Selected : Field;
        const int fieldLeft = Left + 25, fieldRight = selected ? Right() - 1 : Right();
        const int rowTop = selected ? Top + 1 : Top, rowBottom = selected ? Bottom() - 1 : Bottom();
        int firstX = Right(), minY = Bottom(), maxY = Top, inked = 0, opaqueCell = 0;
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
        ASSERT_GT(inked, 0);  // (text in the strip would start left of the indent or miss the field)
        EXPECT_EQ(opaqueCell, 0);
        EXPECT_GE(firstX, Left + 25 + 8);
        EXPECT_LT(firstX, Left + 25 + 8 + (selected ? 30 : 3));
        // Single line, centred vertically: the glyphs sit around the middle of the 48-pixel row.
        EXPECT_LT(maxY - minY, 24);
        EXPECT_NEAR((minY + maxY) / 2.0, (Top + Bottom()) / 2, 6.0);
    }
}

// Outside a tracking the owner messages are not the menu's; every entry measures 140 x 48 whatever
// its caption, scaled with the screen's DPI.
TEST(IconMenuOwner, UntrackedMessagesAreLeftAloneAndEveryEntryIs140By48) {
    IconMenu menu;
    IconMenuItem longCaption{1, 1, "  A caption far longer than the entry is wide, in any font"};
    MEASUREITEMSTRUCT mis = {};
    mis.CtlType = ODT_MENU;
    mis.itemData = reinterpret_cast<ULONG_PTR>(&longCaption);
    LRESULT result = 77;
    EXPECT_EQ(IconMenu::Tracked(), nullptr);
    EXPECT_FALSE(IconMenu::HandleOwnerMessage(WM_MEASUREITEM, 0, reinterpret_cast<LPARAM>(&mis), &result));
    EXPECT_EQ(result, 77);
    const struct { int dpi; UINT width, height; } sizes[] = {{96, 140, 48}, {120, 175, 60}, {144, 210, 72}, {192, 280, 96}};
    for (const auto& s : sizes) {
        menu.scale = DpiScale{s.dpi};
        for (ULONG_PTR data : {ULONG_PTR(0), reinterpret_cast<ULONG_PTR>(&longCaption)}) {
            mis.itemData = data;
            menu.MeasureItem(&mis);
            EXPECT_EQ(mis.itemWidth, s.width) << s.dpi;
            EXPECT_EQ(mis.itemHeight, s.height) << s.dpi;
        }
    }
}
