#include "scene/TerrainGrid.h"

#include <cmath>

#include "Message.h"

namespace {

TerrainGrid::Point storage[TerrainGrid::StorageSize][TerrainGrid::StorageSize];

}  // namespace

void TerrainGrid::Build(int columns, int rows, int heightFactor) {
    columns_ = columns;
    rows_ = rows;
    heightFactor_ = heightFactor;
    const float slope = static_cast<float>(2 * heightFactor) / static_cast<float>(rows);

    if (static_cast<long long>(columns) * rows > 1000000LL) nerith::ShowMessage("MAP SIZE ERROR", "ERROR");

    // Only what fits: a column holds StorageSize rows, the storage StorageSize columns.
    const int lastColumn = columns < StorageSize ? columns : StorageSize;
    const long long builtRows = rows - 1LL;
    const int lastRow = builtRows < StorageSize ? static_cast<int>(builtRows) : StorageSize;
    const int half = columns / 2;
    for (int i = 0; i < lastColumn; ++i) {
        for (int j = 0; j < lastRow; ++j) {
            Point& p = storage[i][j];
            p.x = static_cast<float>(i - half);
            p.y = static_cast<float>(std::cos(0.1 * (i + j)) * (static_cast<float>(rows - j) * slope));
            p.z = static_cast<float>(j - rows);
        }
    }
}

TerrainGrid::Point TerrainGrid::Vertex(int column, int row) const {
    if (column < 0 || column >= StorageSize || row < 0 || row >= StorageSize) return {0.0f, 0.0f, 0.0f};
    return storage[column][row];
}
