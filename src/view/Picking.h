#pragma once
// Clicks resolved inside the frame. Nothing is unprojected: a click is matched against the scene
// with OpenGL selection-mode picking, for food pellets against two sets of sweeping invisible
// probe strips, for touch and zoom clicks against the fish themselves. The ripple mode's
// screen-copy magnifier lives here too.
//
// Every pass below is called once per frame after the pellet pass, with the camera in the
// model-view matrix and lighting off. Each one checks the mouse mode itself and does nothing in
// the modes it does not serve.
#include "Commands.h"
#include "GL.h"
#include "scene/ViewLayout.h"

class School;
class RippleSurface;

// The mouse modes that act through picking.

// What the probe picks remember between frames: the picked point may be found over several
// frames, x and y each when a strip passes under the cursor. The view keeps one for its life.
struct PickState {
    bool pickedXFound = false;
    float pickedX = 0.0f;
    bool pickedYFound = false;
    float pickedY = 0.0f;
    bool columnsRising = false;  // the columns move toward +x (else toward -x)
    bool rowsRising = false;     // the rows move toward +y (else toward -y)
    GLuint markerList = 0;       // the marker cone, compiled on first use
};

// Side of the square pick region in pixels.
constexpr int ProbePickRegion = 15;
constexpr int FishPickRegion = 20;
// Entries of the selection buffer.
constexpr int PickBufferSize = 512;
// A strip pick that found nothing.
constexpr float NothingPicked = -10000.0f;

// The two halves of one pick test around a drawing; use PickTest. Begin saves the model-view
// matrix, enters selection mode with a pick region of regionSize pixels around the mouse point
// (client pixels, y downwards) and translates to (x, y, z); End restores both matrix stacks and
// the name stack and tells whether anything drawn in between covered the region.
void BeginPickTest(GLuint (&buffer)[PickBufferSize], int mouseX, int mouseY, int regionSize, float x,
                   float y, float z);
bool EndPickTest();

// Does whatever `draw` draws at (x, y, z) cover the pick region? Depth plays no part.
template <typename Draw>
bool PickTest(int mouseX, int mouseY, int regionSize, float x, float y, float z, Draw&& draw) {
    GLuint buffer[PickBufferSize];
    BeginPickTest(buffer, mouseX, mouseY, regionSize, x, y, z);
    draw();
    return EndPickTest();
}

// One frame of the probe strips' sweep: every column moves 0.5 along x and every row 0.5 along
// y. Column 0 alone turns the columns round, at tank left -5 and left +5; the columns after it
// follow at once, so in the frame of a turn they already move the new way. Row 0 does the same
// for the rows against bottom -5 and bottom +5.
void MoveProbeStrips(PickState& state, ProbePoint columns[ProbeColumnCount], ProbePoint rows[ProbeRowCount],
                     const TankBox& tank);

// What one probe sweep did.
struct SweepOutcome {
    bool picked = false;       // a click was pending and the strips were picked against
    bool dropped = false;      // a pellet fell at the picked point
    bool usedUp = false;       // a feed click found its point but every pellet was busy
    bool markerDrawn = false;  // the marker cone was drawn at the picked point
};

// The pick and feed pass (modes 1036, 1046 and 1047): moves the strips (turning them at the
// layout's probe box); while a feed, probe or marker click is pending, picks the first column and
// the first row under the mouse point and keeps each coordinate that lies in the layout's feed
// box (the tank and the whole view). A feed click with both found drops the first free pellet at
// (x, y - 2, -70) and is done (with all ten busy it is used up); in the marker mode the point
// found gets a black wire cone for that frame. Leaves the colour (1, 1, 1, 0).
// Only the feed request is ever cleared here.
SweepOutcome ProbeSweep(PickState& state, int mode, int mouseX, int mouseY, bool& feedRequest,
                        bool probeRequest, bool markerRequest, ProbePoint columns[ProbeColumnCount],
                        ProbePoint rows[ProbeRowCount], const SceneLayout& layout, School& school);

// The fish pick (modes 1035, 1037 and 1038), only while buttonHeld is set, which it clears: each
// live fish is drawn (and so stepped once more) at its place in a pick test; the first one under
// the mouse point is touched (1035), grown by 2 (1037) or shrunk by 2 (1038). Returns its slot,
// or -1 when no fish was hit or nothing was pending.
int FishPick(int mode, int mouseX, int mouseY, bool& buttonHeld, School& school);

// The screen-copy magnifier (mode 1045): copies the lower-left corner of the frame, as much as
// the screen-copy texture holds (128 x 128), into that texture; draws the ripple grid with it at
// z = cameraOffset - 2.4, scaled (1.81, 1.01); then ages the ripples one frame. The mouse adds
// ripples when clicked, not here. With the camera's eye at cameraOffset - 5 that plane lies
// behind the eye, so the grid is clipped away and the frame shows unchanged.
void DrawMagnifier(int mode, GLuint screenCopyTexture, int screenWidth, int screenHeight, float cameraOffset,
                   RippleSurface* surface);
