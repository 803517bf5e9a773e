#pragma once
// The tank geometry chosen from the screen size: the resolution index, the tank box and the
// probe strips used for picking.

// The swimming volume in world units.
struct TankBox {
    float left, right, top, bottom, back, front;
};

struct ProbePoint {
    float x, y, z;
};

constexpr int ProbeColumnCount = 50;
constexpr int ProbeRowCount = 10;

// 0 to 7 for the listed screen sizes, 1 for any other.
int ResolutionIndexFor(int screenWidth, int screenHeight);

// The horizontal scale of the background picture for a resolution index.
float BackgroundScaleFor(int resolutionIndex);

// The tank box for a screen size, widened by 20 on each side. Sizes missing from the table get
// the 1024 x 768 row, so every screen has a sound tank.
TankBox TankBoxFor(int screenWidth, int screenHeight);

// Vertical strips along the bottom of the tank and horizontal strips up its middle, all at z = -70.
void PlaceProbeColumns(const TankBox& box, ProbePoint columns[ProbeColumnCount]);
void PlaceProbeRows(const TankBox& box, ProbePoint rows[ProbeRowCount]);
