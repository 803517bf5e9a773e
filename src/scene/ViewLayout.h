#pragma once
// The tank geometry chosen from the size of the view: the resolution index, the tank box, the
// background picture's plane, the back wall, the fish's swimming width and the probe strips used
// for picking.
//
// Two tables list the screens the tank was first laid out for. A listed size keeps its values
// (only mended where they left part of the screen black). Any other size takes the look of the
// listed size of the nearest shape: a 3840 x 2160 screen looks like 1920 x 1080, only sharper. A
// shape that no listed size is near (portrait, super-wide) gets the smallest picture plane that
// covers it without stretching the picture beyond what the listed sizes do, and a tank that fills
// it.

// The swimming volume in world units.
struct TankBox {
    float left, right, top, bottom, back, front;
};

struct ProbePoint {
    float x, y, z;
};

constexpr int ProbeColumnCount = 50;
constexpr int ProbeRowCount = 10;

// The camera's eye lies at z = -10 (the view's camera offset -5, minus 5) looking down -z, and
// the frustum's half size is 0.4 at distance 1 on the shorter side of the view.
constexpr float EyeZ = -10.0f;
constexpr float FrustumHalf = 0.4f;

// Where the background picture's plane lies (world z).
constexpr float PicturePlaneZ = -110.0f;

// Half the width and height of what a width x height view shows at world depth z.
struct Extent {
    float halfWidth, halfHeight;
};
Extent VisibleAt(int width, int height, float z);

// The background picture's plane: the unscaled picture spans -1..1 both ways, scaled by scaleX and
// scaleY. Where that leaves a sliver of the view uncovered at the sides (a listed size whose scale
// falls just short of its view), the picture's edges are stretched out to coverX on either side.
struct PicturePlane {
    float scaleX, scaleY, coverX;
};

// The back wall's quad, in the plane z.
struct WallRect {
    float left, right, bottom, top, z;
};

// Everything about the tank that follows from the size of the view.
struct SceneLayout {
    int resolutionIndex;     // the listed screen whose picture this size shows like
    TankBox tank;            // widened by 20 on each side
    PicturePlane picture;    // covers the whole view
    WallRect wall;           // the back wall's quad: 2 x the tank's width, 3 x its height, or more
    float fishHalfWidth;     // the fish turn back beyond x = -fishHalfWidth and +fishHalfWidth
    float spreadX, spreadY;  // the fish's starting places are spread by these factors
    TankBox probeBox;        // where the probe strips stand and sweep
    TankBox feedBox;         // where a picked point becomes a pellet: the tank and the whole view
    float columnHalfLength;  // the probe columns reach this far up and down ...
    float rowHalfLength;     // ... and the rows this far to either side
    int rowStep;             // between neighbouring probe rows
};

SceneLayout LayoutFor(int width, int height);

// 0 to 7 for the sizes of the resolution table; another size gets the index of the listed size of
// the nearest shape, or 1 when no listed shape is near.
int ResolutionIndexFor(int screenWidth, int screenHeight);

// The tank box for a screen size, widened by 20 on each side.
TankBox TankBoxFor(int screenWidth, int screenHeight);

// Vertical strips across the layout's probe box and horizontal strips up from its bottom, all at
// z = -70.
void PlaceProbeStrips(const SceneLayout& layout, ProbePoint columns[ProbeColumnCount], ProbePoint rows[ProbeRowCount]);
