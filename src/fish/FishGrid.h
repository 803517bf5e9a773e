#pragma once
// The arithmetic of the Fish Settings dialog, kept apart from its window: the 5 x 4 grid of
// species cells over the species picture, which cell a click selects, and which parts of the
// picture must be painted again after each change of the working roster. The grid is laid out in
// pixels of the 96-DPI picture; at another DPI the picture, its cells and the repainted squares
// are that layout scaled, and a click is taken back onto it before the cell is worked out.
#include "Dpi.h"
#include "fish/FishRoster.h"

struct CellRect {
    int left, top, right, bottom;
};

inline bool operator==(const CellRect& a, const CellRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

// The areas of the picture to paint again: at most one square per cell and one whole cell more.
struct Repaint {
    int count = 0;
    CellRect rects[SpeciesCount + 2];
    void push(const CellRect& r) { rects[count++] = r; }
};

class FishGrid {
public:
    // The 96-DPI layout.
    static constexpr int PictureWidth = 500;
    static constexpr int PictureHeight = 512;
    static constexpr int CellWidth = 100;
    static constexpr int CellHeight = 90;
    static constexpr int GridBottom = 450;  // clicks below this line select nothing
    static constexpr int NumberSquare = 20;  // the corner square where a cell's count is written
    static constexpr int NumberInset = 2;    // the count is written this far into the cell

    // The client-pixel bounds of species i (0..19): 5 columns, 4 rows, 2 pixels from the corner.
    CellRect cell(int species) const;
    // The number square at the top-left corner of the cell.
    CellRect numberSquare(int species) const;
    // Where the count of species i is written.
    int numberX(int species) const;
    int numberY(int species) const;
    // Whether `index` is a species that has a cell (and so an ellipse when selected).
    static bool hasCell(int index) { return index >= 0 && index < SpeciesCount; }

    DpiScale scale;  // 96 DPI unless the dialog says otherwise
    FishRoster roster;
    int previous = -1;  // the cell selected by the last click in the grid

    // Loads the working roster; a negative count from a hand-edited file becomes 0, as the tank
    // already counts it.
    void load(Profile& profile);
    void load();

    // A left click at client point (x, y).
    Repaint click(int x, int y);
    // The four commands on the selected species or the whole roster.
    Repaint add();
    Repaint remove();
    Repaint randomize();
    Repaint clear();

private:
    void dropNegativeCounts();
    Repaint allNumberSquares() const;
};
