#include "fish/FishGrid.h"

namespace {
int cellLeft(int species) { return FishGrid::CellWidth * (species % 5) + 2; }
int cellTop(int species) { return FishGrid::CellHeight * (species / 5) + 2; }
}  // namespace

CellRect FishGrid::cell(int species) const {
    const int left = cellLeft(species), top = cellTop(species);
    return {scale(left), scale(top), scale(left + CellWidth), scale(top + CellHeight)};
}

CellRect FishGrid::numberSquare(int species) const {
    const int left = cellLeft(species), top = cellTop(species);
    return {scale(left), scale(top), scale(left + NumberSquare), scale(top + NumberSquare)};
}

int FishGrid::numberX(int species) const { return scale(cellLeft(species) + NumberInset); }
int FishGrid::numberY(int species) const { return scale(cellTop(species) + NumberInset); }

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

Repaint FishGrid::click(int clientX, int clientY) {
    Repaint r;
    int& selected = roster.selected;
    if (selected == -1) previous = -1;
    const int x = scale.unscale(clientX), y = scale.unscale(clientY);  // on the 96-DPI picture
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

Repaint FishGrid::allNumberSquares() const {
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
