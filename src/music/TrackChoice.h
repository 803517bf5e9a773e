#pragma once
// The choices of the user-music player that do not need a window: which list row to open next,
// when a track counts as finished, and how a play mode moves past files that cannot be played.
#include <functional>

enum PlayMode : int { RepeatOne = 0, RepeatAll = 1, RandomOrder = 2 };

// The row to open. `playing`: the player is in its playing state; `userPick`: the user clicked a
// row; `selected`: the first selected row or -1; `currentIndex`: the row now open (-1 for none);
// `fallbackIndex`: the row Repeat One opens when nothing is playing or selected.
// Random draws nerith::rand() % rowCount exactly when the play mode asks for a random row.
// Returns -1 only for an empty list; otherwise a row in 0 .. rowCount - 1.
int ChooseTrack(int playMode, bool playing, bool userPick, int selected, int rowCount, int currentIndex,
                int fallbackIndex);

// A playing track is over when the position has reached the length, or when the device has stopped
// by itself within `pollMs` (one poll) of the end. A device that reports no length never ends.
bool TrackEnded(int position, int length, bool deviceStopped, int pollMs);

// Opens `first` with `open` (true when the file can be played). Repeat All and Random then go on
// through the following rows, wrapping round, until one opens or every row was tried once;
// Repeat One stays with its row. Returns the row that opened, or -1 when none did.
int OpenPlayableTrack(int first, int playMode, int rowCount, const std::function<bool(int row)>& open);
