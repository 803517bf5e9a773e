#include "fish/FishGrid.h"

CellRect FishGrid::cell(int species) {
    const int left = CellWidth * (species % 5) + 2;
    const int top = CellHeight * (species / 5) + 2;
    return {left, top, left + CellWidth, top + CellHeight};
}

CellRect FishGrid::numberSquare(int species) {
    const CellRect c = cell(species);
    return {c.left, c.top, c.left + NumberSquare, c.top + NumberSquare};
}

void FishGrid::load(Profile& profile) {
    roster.load(profile);
    dropNegativeCounts();
}

void FishGrid::load() {
    roster.load();
    dropNegativeCounts();
}

void FishGrid::dropNegativeCounts() {
    // remove() raises a count below 0 to 0 and refreshes the total.
    for (int j = 0; j < SpeciesCount; ++j)
        if (roster.counts[j] < 0) roster.remove(j);
}

Repaint FishGrid::click(int x, int y) {
    Repaint r;
    int& selected = roster.selected;
    if (selected == -1) previous = -1;
    if (y <= GridBottom) {
        // The 2-pixel margin is not taken off, and a click right of the grid lands in the next
        // row: the dialog has always picked cells this way.
        const int index = x / CellWidth + (y / CellHeight) * 5;
        selected = index;
        // Only species 0..19 have cells. The old cell is repainted whatever the new index is,
        // so no stale ellipse stays behind on a cell that is no longer selected.
        if (index != previous) {
            if (hasCell(previous)) r.push(cell(previous));
            if (hasCell(index)) r.push(cell(index));
        }
        previous = index;
    } else {
        if (hasCell(previous)) r.push(cell(previous));
        selected = -1;
    }
    return r;
}

Repaint FishGrid::add() {
    Repaint r;
    roster.add(roster.selected);
    if (hasCell(roster.selected)) r.push(numberSquare(roster.selected));
    return r;
}

Repaint FishGrid::remove() {
    Repaint r;
    roster.remove(roster.selected);
    if (hasCell(roster.selected)) r.push(numberSquare(roster.selected));
    return r;
}

Repaint FishGrid::allNumberSquares() {
    Repaint r;
    for (int j = 0; j < SpeciesCount; ++j) r.push(numberSquare(j));
    return r;
}

Repaint FishGrid::randomize() {
    const int wasSelected = roster.selected;
    roster.randomize();
    Repaint r = allNumberSquares();
    if (hasCell(wasSelected)) r.push(cell(wasSelected));  // takes its ellipse away
    return r;
}

Repaint FishGrid::clear() {
    roster.clear();
    return allNumberSquares();
}
