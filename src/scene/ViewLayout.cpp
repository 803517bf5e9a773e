#include "scene/ViewLayout.h"

namespace {

struct SizeEntry {
    int width, height, value;
};

const SizeEntry ResolutionTable[] = {
    {1024, 768, 0}, {1280, 1024, 1}, {1680, 1050, 2}, {1440, 900, 3},
    {1280, 800, 4}, {1600, 900, 5},  {1366, 768, 6},  {1920, 1080, 7},
};

// Half widths of the tank before widening.
const SizeEntry TankTable[] = {
    {800, 600, 29},  {1024, 768, 29}, {1280, 960, 29}, {1280, 1024, 29},
    {1440, 900, 35}, {1600, 900, 38}, {1680, 1050, 34},
};

const float BackgroundScales[8] = {53.1f, 49.9f, 64.0f, 64.0f, 64.0f, 71.0f, 71.0f, 110.0f};

}  // namespace

int ResolutionIndexFor(int screenWidth, int screenHeight) {
    for (const SizeEntry& e : ResolutionTable)
        if (e.width == screenWidth && e.height == screenHeight) return e.value;
    return 1;
}

float BackgroundScaleFor(int resolutionIndex) {
    if (resolutionIndex < 0 || resolutionIndex > 7) resolutionIndex = 1;
    return BackgroundScales[resolutionIndex];
}

TankBox TankBoxFor(int screenWidth, int screenHeight) {
    int half = 29;  // the 1024 x 768 row
    for (const SizeEntry& e : TankTable)
        if (e.width == screenWidth && e.height == screenHeight) half = e.value;
    TankBox box;
    box.left = static_cast<float>(-half) - 20.0f;
    box.right = static_cast<float>(half) + 20.0f;
    box.top = 21.0f;
    box.bottom = -21.0f;
    box.back = -50.0f;
    box.front = 0.0f;
    return box;
}

void PlaceProbeColumns(const TankBox& box, ProbePoint columns[ProbeColumnCount]) {
    // Evenly from the left wall to the right wall, so that the columns' sweep of five units
    // either way passes over every point of the tank, whatever its width.
    const float step = (box.right - box.left) / static_cast<float>(ProbeColumnCount - 1);
    for (int i = 0; i < ProbeColumnCount; ++i)
        columns[i] = {box.left + static_cast<float>(i) * step, 0.0f, -70.0f};
    columns[ProbeColumnCount - 1].x = box.right;
}

void PlaceProbeRows(const TankBox& box, ProbePoint rows[ProbeRowCount]) {
    const int height = static_cast<int>(box.top - box.bottom);
    const int step = static_cast<int>(height * 1.5) / 9;
    for (int j = 0; j < ProbeRowCount; ++j)
        rows[j] = {0.0f, box.bottom + static_cast<float>(j * step), -70.0f};
}
