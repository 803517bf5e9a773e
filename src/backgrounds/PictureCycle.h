#pragma once
// The user's background pictures and their cycling, without any window: the texture names in
// list order, the picture shown now, the three modes and the 200 ms tick arithmetic. The Custom
// Background dialog keeps its list view in step with this record.
#include <string>

// Own pictures are on: the "Use your own image" box as the dialog's timer last saw it. Read by the
// view every frame.
extern bool ownImageOn;

namespace backgrounds {

constexpr int MaxPictures = 10;
// What a pick that found nothing yields (all bits set); no texture has this name.
constexpr unsigned NoPicture = 0xFFFFFFFFu;
// The default interval in seconds, also used for interval text that is not a sane number.
constexpr int DefaultInterval = 5;
constexpr int TickMs = 200;

enum Mode { RepeatOne = 0, RepeatAll = 1, RandomOrder = 2 };

struct PictureCycle {
    unsigned pictures[MaxPictures] = {};  // texture names; slot i belongs to row i
    unsigned currentPicture = 0;          // shown now; 0 none, NoPicture after an empty pick
    int pictureCount = 0;
    bool cycling = false;
    int mode = RepeatOne;
    int ticks = -1;  // ticks since the last change; -1 changes at the next tick

    // The first row whose slot holds `texture`, or pictureCount when none does.
    int RowOf(unsigned texture) const;
    // Whether `texture` is one of the listed pictures.
    bool Holds(unsigned texture) const { return RowOf(texture) < pictureCount; }

    // A pick (see the table in the .cpp). NoPicture when the list is empty or cycling is off.
    // A user choice sets *onRow to the row to mark "ON" (else -1). Random draws nerith::rand().
    unsigned Pick(int index, bool userChoice, int* onRow = nullptr) const;

    void StartCycling() {
        cycling = true;
        ticks = -1;
    }
    void StopCycling() { cycling = false; }

    // One timer tick while cycling, with the interval in seconds: true when a new pick is due,
    // in which case currentPicture has been picked and ticks restarted.
    bool Tick(int intervalSeconds);

    // Appends a loaded picture; false (nothing changed) when the list is full.
    bool Append(unsigned texture);

    // Removes row `row`: the later slots move one place forward, the freed slot becomes 0.
    // Returns the removed texture name (0 when the row does not exist).
    unsigned RemoveRow(int row);

    // After a removal: an empty list clears every slot and currentPicture, else the user-choice
    // pick of row 0 (which marks row 0 "ON" while cycling). Returns the row to mark "ON" or -1.
    int RepickAfterRemoval();
};

// Whether a pick is due at `ticks` ticks for the interval (64-bit arithmetic, no overflow).
bool TickDue(int ticks, int intervalSeconds);

// The interval of the box's text: empty text is 0 (a change every tick), a run of at most six
// decimal digits is its value, anything else (a sign, letters, a huge number) is DefaultInterval.
int ParseInterval(const std::string& text);
// Whether stored interval text may go into the box unchanged (digits only, at most six).
bool SaneIntervalText(const std::string& text);

// The texture the background plane shows: the current picture while own pictures are on and it
// is one of the listed pictures, else the built-in picture.
unsigned TextureToDraw(bool ownImageOn, const PictureCycle& cycle, unsigned builtIn);

}  // namespace backgrounds
