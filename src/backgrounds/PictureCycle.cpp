#include "backgrounds/PictureCycle.h"

#include "Random.h"

bool ownImageOn = false;

namespace backgrounds {

int PictureCycle::RowOf(unsigned texture) const {
    for (int i = 0; i < pictureCount; ++i)
        if (pictures[i] == texture) return i;
    return pictureCount;
}

// The pick, by mode:
//   user choice (any mode): row `index`, marked "ON";
//   Repeat One: the current picture while it is one of ours, else slot 0;
//   Repeat All: the slot after the one holding the current picture, wrapping; slot 1 (modulo
//               the count) when no slot holds it;
//   Random:     slot rand() % count (may repeat the picture shown).
unsigned PictureCycle::Pick(int index, bool userChoice, int* onRow) const {
    if (onRow) *onRow = -1;
    if (pictureCount <= 0 || !cycling) return NoPicture;
    if (userChoice) {
        if (index < 0 || index >= pictureCount) return NoPicture;
        if (onRow) *onRow = index;
        return pictures[index];
    }
    switch (mode) {
    case RepeatAll:
        return pictures[(RowOf(currentPicture) + 1) % pictureCount];
    case RandomOrder:
        return pictures[nerith::rand() % pictureCount];
    default:
        // A current picture of 0 or NoPicture (or a name no longer listed) would keep the
        // built-in picture forever; start again from the first one instead.
        return Holds(currentPicture) ? currentPicture : pictures[0];
    }
}

bool TickDue(int ticks, int intervalSeconds) {
    return ticks == 0 || static_cast<long long>(ticks) * TickMs >= static_cast<long long>(intervalSeconds) * 1000;
}

bool PictureCycle::Tick(int intervalSeconds) {
    if (!cycling) return false;
    if (ticks < 0x7FFFFFFF) ++ticks;
    if (!TickDue(ticks, intervalSeconds)) return false;
    currentPicture = Pick(0, false);
    ticks = 0;
    return true;
}

bool PictureCycle::Append(unsigned texture) {
    if (pictureCount >= MaxPictures) return false;
    pictures[pictureCount++] = texture;
    return true;
}

unsigned PictureCycle::RemoveRow(int row) {
    if (row < 0 || row >= pictureCount) return 0;
    const unsigned removed = pictures[row];
    for (int i = row; i + 1 < pictureCount; ++i) pictures[i] = pictures[i + 1];
    --pictureCount;
    pictures[pictureCount] = 0;
    return removed;
}

int PictureCycle::RepickAfterRemoval() {
    if (pictureCount == 0) {
        for (unsigned& p : pictures) p = 0;
        currentPicture = 0;
        return -1;
    }
    int onRow = -1;
    currentPicture = Pick(0, true, &onRow);
    return onRow;
}

bool SaneIntervalText(const std::string& text) {
    if (text.empty() || text.size() > 6) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

int ParseInterval(const std::string& text) {
    if (text.empty()) return 0;
    if (!SaneIntervalText(text)) return DefaultInterval;
    int value = 0;
    for (char c : text) value = value * 10 + (c - '0');
    return value;
}

unsigned TextureToDraw(bool ownImageOn, const PictureCycle& cycle, unsigned builtIn) {
    if (ownImageOn && cycle.currentPicture != 0 && cycle.Holds(cycle.currentPicture)) return cycle.currentPicture;
    return builtIn;
}

}  // namespace backgrounds
