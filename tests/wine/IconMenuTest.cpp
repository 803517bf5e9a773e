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

// The icon loader the tests put in place: a 24 x 24 icon that is transparent except for one
// marker pixel, so its position on the canvas tells where the icon was drawn.
int loadCount = 0;
int lastLoadedId = 0;

HICON MarkerIcon(int resourceId) {
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
        dis.rcItem = {Left, Top, Right, Bottom};
        dis.itemData = reinterpret_cast<ULONG_PTR>(item);
        menu.DrawItem(&dis);
    }

    static constexpr int Left = 17, Top = 11, Right = Left + 140, Bottom = Top + 48;
    Canvas canvas{200, 80};
    IconMenu menu;
    IconMenuItem item{133, 134, "  Feed Fish"};
    IconMenu::IconLoader previousLoader = nullptr;
};

}  // namespace

// A menu is built for each popup, and its destructor ends it. (Which entry sends which command is
// driven with the real mouse in tests/e2e: test_menu, test_touch, test_fish_dialog, ...)
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
// around one blue-grey tint over strip and field alike, and the icon one pixel up and left. The
// icon's transparent rest leaves the fills alone, nothing outside the box is touched, and an entry
// without item data draws nothing.
TEST_F(IconMenuDraw, FillsAndIconOfTheUnselectedAndSelectedEntry) {
    SetBkMode(canvas.dc(), OPAQUE);
    Draw(nullptr, false);
    Draw(nullptr, true);
    EXPECT_EQ(canvas.Count(Outside), canvas.width() * canvas.height());
    EXPECT_EQ(loadCount, 0);
    item.caption = "";
    for (int selected : {0, 1}) {
        SCOPED_TRACE(selected);
        canvas.Clear(Outside);
        Draw(&item, selected);
        const int markerX = Left + 3 + MarkerX - selected, markerY = Top + 3 + MarkerY - selected;
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x) {
                const bool inside = x >= Left && x < Right && y >= Top && y < Bottom;
                const bool edge = x == Left || x == Right - 1 || y == Top || y == Bottom - 1;
                COLORREF want = selected ? (edge ? Black : Selected) : (x <= Left + 24 ? Strip : Field);
                if (x == markerX && y == markerY) want = Marker;
                ASSERT_EQ(canvas.At(x, y), inside ? want : Outside) << x << "," << y;
            }
        EXPECT_EQ(lastLoadedId, selected ? 134 : 133);  // the normal or the selected icon
    }
    EXPECT_EQ(loadCount, 2);
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
        for (int y = Top; y < Bottom; ++y)
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
        ASSERT_GT(inked, 0);  // (text in the strip would start left of the indent or miss the field)
        EXPECT_EQ(opaqueCell, 0);
        EXPECT_GE(firstX, Left + 25 + 8);
        EXPECT_LT(firstX, Left + 25 + 8 + (selected ? 30 : 3));
        // Single line, centred vertically: the glyphs sit around the middle of the 48-pixel row.
        EXPECT_LT(maxY - minY, 24);
        EXPECT_NEAR((minY + maxY) / 2.0, (Top + Bottom) / 2, 6.0);
    }
}

// Outside a tracking the owner messages are not the menu's; every entry measures 140 x 48 whatever
// its caption. (The tracking itself, owner-draw forwarding and the chosen command, is driven with
// the real mouse in tests/e2e/test_menu.sh.)
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
    for (ULONG_PTR data : {ULONG_PTR(0), reinterpret_cast<ULONG_PTR>(&longCaption)}) {
        mis.itemData = data;
        menu.MeasureItem(&mis);
        EXPECT_EQ(mis.itemWidth, 140u);
        EXPECT_EQ(mis.itemHeight, 48u);
    }
}
