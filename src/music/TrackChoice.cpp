#include "music/TrackChoice.h"

#include "Random.h"

int ChooseTrack(int playMode, bool playing, bool userPick, int selected, int rowCount, int currentIndex,
                int fallbackIndex) {
    if (rowCount <= 0) return -1;
    if (selected >= rowCount) selected = -1;
    int row;
    if (selected >= 0 && (userPick || !playing)) {
        row = selected;  // a selected row wins whenever nothing plays, and a click always
    } else if (playing) {
        switch (playMode) {
        case RepeatAll:
            row = currentIndex + 1;
            if (row >= rowCount) row = 0;
            break;
        case RandomOrder:
            row = nerith::rand() % rowCount;
            break;
        default:
            row = currentIndex;
            break;
        }
    } else {
        switch (playMode) {
        case RepeatAll:
            row = 0;
            break;
        case RandomOrder:
            row = nerith::rand() % rowCount;
            break;
        default:
            row = fallbackIndex;
            break;
        }
    }
    // A stale index (a list that shrank under it) starts again from the top.
    return row >= 0 && row < rowCount ? row : 0;
}

bool TrackEnded(int position, int length, bool deviceStopped, int pollMs) {
    if (length <= 0) return false;
    if (position >= length) return true;
    return deviceStopped && position >= length - pollMs;
}

int OpenPlayableTrack(int first, int playMode, int rowCount, const std::function<bool(int row)>& open) {
    if (first < 0 || first >= rowCount) return -1;
    const int tries = playMode == RepeatOne ? 1 : rowCount;
    for (int k = 0; k < tries; ++k) {
        const int row = (first + k) % rowCount;
        if (open(row)) return row;
    }
    return -1;
}
