// The Fish Settings dialog's grid: which cell a click selects, what is painted again after each
// change, and the commands' effect through the selection.
#include <gtest/gtest.h>

#include <vector>

#include "fish/FishGrid.h"
#include "settings/MemoryProfile.h"

namespace {

std::vector<CellRect> rects(const Repaint& r) { return {r.rects, r.rects + r.count}; }

TEST(FishGrid, ClicksSelectAndRepaintOldAndNewCell) {
    struct Case {
        int x, y;
        int selected;
        std::vector<CellRect> repaint;
    };
    FishGrid grid;
    // Cells of 100 x 90 pixels, 2 pixels from the corner, five to a row.
    const CellRect c6 = {102, 92, 202, 182}, c13 = {302, 182, 402, 272};
    EXPECT_EQ(grid.cell(19), (CellRect{402, 272, 502, 362}));
    EXPECT_EQ(grid.numberSquare(7), (CellRect{202, 92, 222, 112}));
    // One sequence of clicks on the same dialog, each row seeing what the rows before left.
    const Case clicks[] = {
        {150, 100, 6, {c6}},               // first selection: only its own cell
        {199, 179, 6, {}},                 // the same cell again: nothing to paint
        {350, 200, 13, {c6, c13}},         // another cell: old and new
        {1, 1, 0, {c13, grid.cell(0)}},   // the margin is not taken off
        {510, 10, 5, {grid.cell(0), grid.cell(5)}},  // right of the grid: next row
        {50, 400, 20, {grid.cell(5)}},    // the empty band: index 20, no cell of its own
        {450, 440, 24, {}},                // still the band: the last index before row 5
        {10, 450, 25, {}},                 // y = 450 still counts as a click in the grid
        {100, 451, -1, {}},                // below the band: nothing selected
        {250, 10, 2, {grid.cell(2)}}, // a fresh start after the band
        {250, 460, -1, {grid.cell(2)}},  // the buttons' band takes the ellipse away
    };
    for (const Case& c : clicks) {
        const Repaint r = grid.click(c.x, c.y);
        EXPECT_EQ(grid.roster.selected, c.selected) << c.x << "," << c.y;
        EXPECT_EQ(rects(r), c.repaint) << c.x << "," << c.y;
    }
}

// Above 100 % the picture is the 96-DPI one scaled: the cells, the number squares and the line
// below which a click selects nothing scale with it, and a click is taken back onto the 96-DPI
// picture, so the first pixel of each scaled column and row already belongs to it.
TEST(FishGrid, CellsSquaresAndClicksScaleWithTheScreensDpi) {
    const struct Case {
        int dpi;
        CellRect cell7, square19;
        int lastGridY;  // the lowest row of pixels that still counts as a click in the grid
    } cases[] = {
        {96, {202, 92, 302, 182}, {402, 272, 422, 292}, 450},
        {120, {253, 115, 378, 228}, {503, 340, 528, 365}, 563},
        {144, {303, 138, 453, 273}, {603, 408, 633, 438}, 676},
        {192, {404, 184, 604, 364}, {804, 544, 844, 584}, 901},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.dpi);
        FishGrid grid;
        grid.scale = DpiScale{c.dpi};
        EXPECT_EQ(grid.cell(7), c.cell7);
        EXPECT_EQ(grid.numberSquare(19), c.square19);
        EXPECT_EQ(grid.numberX(7), grid.scale(204));
        for (int i = 0; i < SpeciesCount; ++i) {
            const CellRect r = grid.cell(i);
            grid.click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
            EXPECT_EQ(grid.roster.selected, i) << "the middle of its cell";
            const int col = i % 5, row = i / 5;
            grid.click(grid.scale(100 * col), grid.scale(90 * row));
            EXPECT_EQ(grid.roster.selected, i) << "the first pixel of its column and row";
            if (col == 0) continue;
            grid.click(grid.scale(100 * col) - 1, grid.scale(90 * row));
            EXPECT_EQ(grid.roster.selected, i - 1) << "the last pixel before its column";
        }
        grid.click(10, c.lastGridY);
        EXPECT_EQ(grid.roster.selected, 25);
        EXPECT_EQ(rects(grid.click(10, c.lastGridY + 1)), std::vector<CellRect>{}) << "the band held no cell";
        EXPECT_EQ(grid.roster.selected, -1);
        grid.click(grid.scale(250), grid.scale(135));
        EXPECT_EQ(rects(grid.add()), std::vector<CellRect>{grid.numberSquare(7)});
    }
}

TEST(FishGrid, CommandsActOnlyOnASpeciesWithACell) {
    FishGrid grid;
    // Nothing selected, the band's indices 20..24 and the button band: Add and Delete do nothing.
    struct Where { bool click; int x, y; } const nowhere[] = {
        {false, 0, 0}, {true, 50, 370}, {true, 450, 440}, {true, 300, 500}};
    grid.roster.counts[0] = 1;
    grid.roster.add(0);  // refreshes the total: 2 fish
    for (const Where& w : nowhere) {
        if (w.click) grid.click(w.x, w.y);
        EXPECT_EQ(grid.add().count, 0);
        EXPECT_EQ(grid.remove().count, 0);
        EXPECT_EQ(grid.roster.total, 2);
    }
    grid.click(150, 100);  // species 6
    EXPECT_EQ(rects(grid.add()), std::vector<CellRect>{grid.numberSquare(6)});
    EXPECT_EQ(grid.roster.counts[6], 1);
    grid.remove();
    EXPECT_EQ(grid.roster.counts[6], 0);  // (the limit of 20 is the roster's, FishRosterTest)
}

TEST(FishGrid, RandomClearsTheSelectionAndClearKeepsIt) {
    FishGrid grid;
    grid.click(350, 200);  // species 13
    Repaint r = grid.clear();
    EXPECT_EQ(grid.roster.selected, 13);
    ASSERT_EQ(r.count, 20);
    EXPECT_EQ(r.rects[19], grid.numberSquare(19));

    r = grid.randomize();
    EXPECT_EQ(grid.roster.selected, -1);
    ASSERT_EQ(r.count, 21) << "all numbers and the selected cell's ellipse";
    EXPECT_EQ(r.rects[20], grid.cell(13));
    // With nothing selected any more, a second Random repaints only the numbers.
    EXPECT_EQ(grid.randomize().count, 20);
}

TEST(FishGrid, HandEditedCountsShowTheirRealSumBesideTheMaximum) {
    MemoryProfile file;
    file.set("Fish Number", "Fish0", "-5");
    file.set("Fish Number", "Fish1", "20");
    file.set("Fish Number", "Fish2", "7");
    FishGrid grid;
    grid.load(file);
    EXPECT_EQ(grid.roster.counts[0], 0) << "a negative count is no fish, as in the tank";
    EXPECT_EQ(grid.roster.totalText(), "Total: 27   (Max:20)") << "the sum of the counts, not the fish shown";
    grid.click(10, 10);
    grid.add();
    EXPECT_EQ(grid.roster.counts[0], 0) << "no room: the sum is already above 20";
}

}  // namespace
