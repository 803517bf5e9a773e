#pragma once
// The background picture seen through moving water: a 32 x 32 grid whose texture coordinates are
// pushed around by up to 100 expanding circular ripples.

class RippleSurface {
public:
    static constexpr int GridSize = 32;     // vertices along each axis
    static constexpr int SlotCount = 100;   // ripple slots
    static constexpr int PhaseCount = 256;  // entries of the amplitude table

    struct GridVertex {
        float x, y;    // position, -1..1
        float s, t;    // current texture coordinates
        float s0, t0;  // rest texture coordinates
    };

    // One entry of the direction table, for grid distances |dn|, |dk|.
    struct Direction {
        double un, uk;  // unit vector (|dn| / r, |dk| / r), 6 significant digits; (0, 0) at [0][0]
        int distance;   // trunc(r * 800 / 31) in ripple units
    };

    RippleSurface();
    virtual ~RippleSurface() = default;

    // Rebuilds the grid for a surface of width x height pixels and frees every slot.
    void Resize(int width, int height);

    // Starts a ripple at the pixel (x, y), y counted from the bottom, in the first free slot;
    // does nothing when all slots are busy or the surface has no area. Points outside the surface
    // start the ripple at the nearest edge cell.
    void StartRipple(int x, int y);

    // Draws the grid with the texture currently bound, at z = 0, covering -1..1 in x and y.
    void Draw() const;

    // Draws, left and right of the grid, strips from x = -reach to -1 and from 1 to reach in
    // which each row of cells stretches the texture coordinates of the grid's edge column, so that
    // the picture's edge widens over them and the grid itself stays as it is. Call before Draw.
    void DrawSideStrips(float reach) const;

    // Ages every slot by one frame and recomputes the current texture coordinates.
    void Animate();

    // How many texels of a texture of texWidth x texHeight one pixel step crosses on the grid as
    // it is now (the scale from which OpenGL picks the mipmap level), when a grid unit spans
    // pixelsX across and pixelsY up the screen. `most` is the largest scale anywhere, the length
    // of the longer texel step; `least` the smallest that a renderer can give any triangle, by
    // that measure or by the cheaper estimate some renderers use instead (the largest single
    // texel component, which never exceeds it).
    struct TexelScale {
        double least, most;
    };
    TexelScale TexelsPerPixel(double pixelsX, double pixelsY, int texWidth, int texHeight) const;

    const GridVertex& Vertex(int n, int k) const { return grid_[n][k]; }
    int CentreColumn(int slot) const { return centreColumn_[slot]; }
    int CentreRow(int slot) const { return centreRow_[slot]; }
    int Age(int slot) const { return age_[slot]; }
    int MaxAge(int slot) const { return maxAge_[slot]; }
    bool SlotFree(int slot) const { return age_[slot] >= maxAge_[slot]; }
    int Diagonal() const { return diagonal_; }
    int Width() const { return width_; }
    int Height() const { return height_; }

    // The constant tables of the ripple model.
    static const Direction& DirectionAt(int absDn, int absDk);
    static double Amplitude(int phase);

    // Ages stop growing here; far beyond the point where every phase has saturated, so the
    // picture is the same, and the counters never overflow on a long run.
    static constexpr int AgeLimit = 1 << 30;

private:
    GridVertex grid_[GridSize][GridSize];
    int centreColumn_[SlotCount];
    int centreRow_[SlotCount];
    int age_[SlotCount];
    int maxAge_[SlotCount];
    int diagonal_;
    int width_, height_;
};
