#pragma once
// A rippled ground surface across the tank, built once from the tank box. Nothing draws it; the
// scene layout reads one of its vertices to place the bubble emitter.

class TerrainGrid {
public:
    // The vertex storage, shared by the whole process: StorageSize columns of StorageSize rows.
    static constexpr int StorageSize = 1000;

    struct Point {
        float x, y, z;
    };

    TerrainGrid() = default;
    virtual ~TerrainGrid() = default;

    // Fills columns 0 .. columns-1 and rows 0 .. rows-2 with a diagonal cosine ridge whose height
    // is 2 * heightFactor at row 0 and shrinks toward the front. More than 1,000,000 vertices
    // requested shows "MAP SIZE ERROR"; whatever was asked, only the part that fits in the
    // storage is written.
    void Build(int columns, int rows, int heightFactor);

    // The stored vertex; (0, 0, 0) for a column or row outside the storage.
    Point Vertex(int column, int row) const;

    int Columns() const { return columns_; }
    int Rows() const { return rows_; }
    int HeightFactor() const { return heightFactor_; }

private:
    int columns_ = 0;
    int rows_ = 0;
    int heightFactor_ = 0;
};
