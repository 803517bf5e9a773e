#include "scene/ViewLayout.h"

#include <cmath>

namespace {

struct SizeEntry {
    int width, height, value;
};

// The resolution table: index and the background picture's horizontal scale.
struct ResolutionEntry {
    int width, height, index;
    float pictureScale;
};
const ResolutionEntry ResolutionTable[] = {
    {1024, 768, 0, 53.1f},  {1280, 1024, 1, 49.9f}, {1680, 1050, 2, 64.0f}, {1440, 900, 3, 64.0f},
    {1280, 800, 4, 64.0f},  {1600, 900, 5, 71.0f},  {1366, 768, 6, 71.0f},  {1920, 1080, 7, 110.0f},
};

// Half widths of the tank before widening. The last three sizes have a resolution index but no
// row of the tank table; they take the 1024 x 768 row, as they always have.
const SizeEntry TankTable[] = {
    {800, 600, 29},  {1024, 768, 29}, {1280, 960, 29}, {1280, 1024, 29}, {1440, 900, 35},
    {1600, 900, 38}, {1680, 1050, 34}, {1920, 1080, 29}, {1366, 768, 29}, {1280, 800, 29},
};

constexpr float Widening = 20.0f;
constexpr float TankHalfHeight = 21.0f;
constexpr float ListedFishHalfWidth = 50.0f;
constexpr float StripZ = -70.0f;
// The fish swim between these depths; at the back they turn at least this far beyond the edge.
constexpr float FishFront = -60.0f, FishBack = -80.0f;
constexpr float FishTurnMargin = 2.0f;
// Each probe strip sweeps five units either way of its place.
constexpr float StripSweep = 5.0f;

// Two shapes are near when their width-to-height ratios differ by at most 2 %.
const double NearShape = std::log(1.02);

double Shape(int width, int height) { return static_cast<double>(width) / height; }

// The entry of `table` with exactly this size; else, of the entries whose shape is near, the one
// nearest in size (the first on a tie); -1 when no entry's shape is near. `exact` tells which.
template <typename Entry, int N>
int Nearest(const Entry (&table)[N], int width, int height, bool* exact) {
    *exact = false;
    for (int i = 0; i < N; ++i)
        if (table[i].width == width && table[i].height == height) {
            *exact = true;
            return i;
        }
    int best = -1;
    double bestSize = 0.0;
    for (int i = 0; i < N; ++i) {
        if (std::fabs(std::log(Shape(width, height) / Shape(table[i].width, table[i].height))) > NearShape) continue;
        const double size = std::fabs(std::log(static_cast<double>(width) / table[i].width));
        if (best < 0 || size < bestSize) {
            best = i;
            bestSize = size;
        }
    }
    return best;
}

PicturePlane PicturePlaneFor(int width, int height) {
    const Extent need = VisibleAt(width, height, PicturePlaneZ);
    bool exact = false;
    const int i = Nearest(ResolutionTable, width, height, &exact);
    if (i >= 0) {
        const ResolutionEntry& e = ResolutionTable[i];
        float scale = e.pictureScale;
        if (!exact) scale = static_cast<float>(scale * Shape(width, height) / Shape(e.width, e.height));
        return {scale, need.halfHeight, scale > need.halfWidth ? scale : need.halfWidth};
    }
    // A shape of its own: the plane just covers the view, widened or heightened only as far as the
    // listed planes' own width-to-height ratios go.
    float narrowest = 0.0f, widest = 0.0f;
    for (const ResolutionEntry& e : ResolutionTable) {
        const PicturePlane listed = PicturePlaneFor(e.width, e.height);
        const float ratio = listed.coverX / listed.scaleY;
        if (narrowest == 0.0f || ratio < narrowest) narrowest = ratio;
        if (ratio > widest) widest = ratio;
    }
    PicturePlane plane = {need.halfWidth, need.halfHeight, 0.0f};
    if (plane.scaleX < narrowest * plane.scaleY) plane.scaleX = narrowest * plane.scaleY;
    if (plane.scaleX > widest * plane.scaleY) plane.scaleY = plane.scaleX / widest;
    plane.coverX = plane.scaleX;
    return plane;
}

float Min(float a, float b) { return a < b ? a : b; }
float Max(float a, float b) { return a > b ? a : b; }

// The fish's width on a shape of its own. On 1024 x 768 they swim 50 to either side, which takes
// them past the edge of the view at every depth, furthest (23 units) at the front of their range.
// A view of another shape gets as much more or less as it is wider or narrower, but never a wider
// hidden band at the front than that, nor so little that fish at the back turn in sight.
float OwnFishHalfWidth(int width, int height) {
    const float listedMiddle = VisibleAt(1024, 768, StripZ).halfWidth;
    const float hiddenAtFront = ListedFishHalfWidth - VisibleAt(1024, 768, FishFront).halfWidth;
    const float scaled = ListedFishHalfWidth * VisibleAt(width, height, StripZ).halfWidth / listedMiddle;
    const float half = Min(scaled, VisibleAt(width, height, FishFront).halfWidth + hiddenAtFront);
    return Max(half, VisibleAt(width, height, FishBack).halfWidth + FishTurnMargin);
}

void PlaceProbeColumns(const TankBox& box, ProbePoint columns[ProbeColumnCount]) {
    // Evenly from the left wall to the right wall, so that the columns' sweep of five units
    // either way passes over every point of the tank, whatever its width.
    const float step = (box.right - box.left) / static_cast<float>(ProbeColumnCount - 1);
    for (int i = 0; i < ProbeColumnCount; ++i)
        columns[i] = {box.left + static_cast<float>(i) * step, 0.0f, StripZ};
    columns[ProbeColumnCount - 1].x = box.right;
}

void PlaceProbeRows(const TankBox& box, ProbePoint rows[ProbeRowCount], int step) {
    for (int j = 0; j < ProbeRowCount; ++j) rows[j] = {0.0f, box.bottom + static_cast<float>(j * step), StripZ};
}

}  // namespace

Extent VisibleAt(int width, int height, float z) {
    if (width <= 0) width = 1;
    if (height <= 0) height = 1;
    const float distance = EyeZ - z;
    const float shape = static_cast<float>(Shape(width, height));
    if (width > height) return {FrustumHalf * shape * distance, FrustumHalf * distance};
    return {FrustumHalf * distance, FrustumHalf / shape * distance};
}

int ResolutionIndexFor(int screenWidth, int screenHeight) {
    if (screenWidth <= 0 || screenHeight <= 0) return 1;
    bool exact = false;
    const int i = Nearest(ResolutionTable, screenWidth, screenHeight, &exact);
    return i >= 0 ? ResolutionTable[i].index : 1;
}

TankBox TankBoxFor(int screenWidth, int screenHeight) {
    if (screenWidth <= 0) screenWidth = 1;
    if (screenHeight <= 0) screenHeight = 1;
    bool exact = false;
    const int i = Nearest(TankTable, screenWidth, screenHeight, &exact);
    float half, halfHeight = TankHalfHeight;
    if (i >= 0) {
        const SizeEntry& e = TankTable[i];
        half = static_cast<float>(e.value);
        if (!exact) half = static_cast<float>(half * Shape(screenWidth, screenHeight) / Shape(e.width, e.height));
    } else {
        // A shape of its own: as wide and high, for its view, as the 1024 x 768 tank is for its own.
        const Extent listed = VisibleAt(1024, 768, StripZ), own = VisibleAt(screenWidth, screenHeight, StripZ);
        half = 29.0f * own.halfWidth / listed.halfWidth;
        halfHeight = TankHalfHeight * own.halfHeight / listed.halfHeight;
    }
    TankBox box;
    box.left = -half - Widening;
    box.right = half + Widening;
    box.top = halfHeight;
    box.bottom = -halfHeight;
    box.back = -50.0f;
    box.front = 0.0f;
    return box;
}

SceneLayout LayoutFor(int width, int height) {
    if (width <= 0) width = 1;
    if (height <= 0) height = 1;
    SceneLayout layout;
    layout.resolutionIndex = ResolutionIndexFor(width, height);
    const TankBox tank = TankBoxFor(width, height);
    layout.tank = tank;
    layout.picture = PicturePlaneFor(width, height);

    // The back wall: twice the tank's width and three times its height, at least the whole view.
    const Extent wallView = VisibleAt(width, height, 3.0f * tank.back);
    layout.wall = {Min(2.0f * tank.left, -wallView.halfWidth), Max(2.0f * tank.right, wallView.halfWidth),
                   Min(3.0f * tank.bottom, -wallView.halfHeight), Max(3.0f * tank.top, wallView.halfHeight),
                   3.0f * tank.back};

    // The fish: the listed screens' width, or as much wider as the view is.
    bool exact = false;
    const int i = Nearest(TankTable, width, height, &exact);
    if (exact)
        layout.fishHalfWidth = ListedFishHalfWidth;
    else if (i >= 0)
        layout.fishHalfWidth = static_cast<float>(ListedFishHalfWidth * Shape(width, height) /
                                                  Shape(TankTable[i].width, TankTable[i].height));
    else
        layout.fishHalfWidth = OwnFishHalfWidth(width, height);
    layout.spreadX = layout.fishHalfWidth / ListedFishHalfWidth;
    layout.spreadY = tank.top / TankHalfHeight;

    // The probe strips stand in the tank as the tables put them; on any other screen they reach
    // the edges of the view at their depth as well, so that a click anywhere finds its point.
    const Extent strips = VisibleAt(width, height, StripZ);
    const int tankHeight = static_cast<int>(tank.top - tank.bottom);
    layout.probeBox = tank;
    layout.rowStep = static_cast<int>(tankHeight * 1.5) / 9;
    if (!exact) {
        layout.probeBox.left = Min(tank.left, -strips.halfWidth);
        layout.probeBox.right = Max(tank.right, strips.halfWidth);
        layout.probeBox.bottom = Min(tank.bottom, -strips.halfHeight + StripSweep - 1.0f);
        const int height = static_cast<int>(layout.probeBox.top - layout.probeBox.bottom);
        int step = static_cast<int>(height * 1.5) / 9;
        if (step > 2 * static_cast<int>(StripSweep)) step = 2 * static_cast<int>(StripSweep);  // no gaps
        // The top row must still sweep past the top of the view.
        const float needed = (strips.halfHeight + 1.0f - StripSweep - layout.probeBox.bottom) / (ProbeRowCount - 1);
        if (step < needed) step = static_cast<int>(std::ceil(needed));
        layout.rowStep = step;
    }
    layout.feedBox = layout.probeBox;
    layout.feedBox.left = Min(layout.probeBox.left, -strips.halfWidth - 1.0f);
    layout.feedBox.right = Max(layout.probeBox.right, strips.halfWidth + 1.0f);
    layout.feedBox.bottom = Min(layout.probeBox.bottom, -strips.halfHeight - 1.0f);
    layout.feedBox.top = Max(layout.probeBox.top, strips.halfHeight + 1.0f);
    layout.columnHalfLength = Max(30.0f, strips.halfHeight + 2.0f);
    layout.rowHalfLength = Max(90.0f, strips.halfWidth + 2.0f);
    return layout;
}

void PlaceProbeStrips(const SceneLayout& layout, ProbePoint columns[ProbeColumnCount],
                      ProbePoint rows[ProbeRowCount]) {
    PlaceProbeColumns(layout.probeBox, columns);
    PlaceProbeRows(layout.probeBox, rows, layout.rowStep);
}
