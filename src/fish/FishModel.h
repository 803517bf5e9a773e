#pragma once
// The one fish mesh every species shares, and the per-frame animation that deforms it.
//
// Model space: the body axis is x with the snout toward -x, z is up, y is sideways. The stored
// vertices describe the -y side; the body and the paired fins are drawn a second time mirrored in y.
// Positions are in model units (the fish is about one unit long) and are multiplied by the fish's
// size when drawn; normals and texture coordinates are used as stored, on both sides.

class Fish;

// One stored vertex: position, normal, texture coordinate.
struct MeshVertex {
    float x, y, z;
    float nx, ny, nz;
    float s, t;
};

// A part is a grid of rows x columns vertices stored row by row; consecutive rows are joined by
// one quad strip.
struct MeshPart {
    int rows;
    int columns;
    int first;  // index of the part's first vertex in FishMeshVertices
};

enum FishPartIndex {
    Body,
    LongFinPairB,
    LongFinPairA,
    TopFin,
    SideFinPair,
    SmallFinPair,
    BottomFin,
    TailFin,
    HeadPlates,
    FishPartCount
};

constexpr int FishMeshVertexCount = 467;
constexpr int FishVerticesPerFrame = 982;  // emitted by one FishModel::draw
constexpr int BodyColumns = 23;

// The stored mesh (src/fish/FishMeshData.cpp, written by tools/fishmesh).
extern const MeshVertex FishMeshVertices[FishMeshVertexCount];
extern const MeshPart FishMeshParts[FishPartCount];

// Which body column each column of the dorsal and the anal fin follows.
extern const int TopFinColumns[40];
extern const int BottomFinColumns[28];

// The arrays one fish hands the model for one frame. All offsets already carry the fish's size.
struct AnimationFrame {
    float columnAngles[BodyColumns];  // yaw in degrees of each body column, 0 at the snout
    float tailSway[BodyColumns];      // sideways offset of each body column
    float finSpreadA[6];              // downward offset of the first columns of LongFinPairA
    float finSpreadB[5];              // upward offset of the first columns of LongFinPairB
    float topFinRipple[40];           // sideways offset of the dorsal fin's free edge
    float sideFinRipple[19];          // offset added to x, y and z of the pectoral fins' free edge
    float smallFinRipple[8];          // sideways offset of the small fin pair
    float bottomFinRipple[28];        // sideways offset of the anal fin's free edge
    float tailFinRipple[31];          // sideways offset of the tail fin's trailing edge
    float headJitter;                 // small shift of the head plates
};

// One of the six fin and tail oscillators. The phase advances by `step` every third frame and
// restarts at 0 (not at phase - 2 pi) once it passes 6.283185.
struct FishOscillator {
    float phase = 0.0f;  // radians
    int counter = 0;
    float k = 0.0f;      // wave number: radians per array entry
    float step = 0.0f;   // phase step
    float amplitude = 0.0f;

    // One frame: counter and phase as described above.
    void advance();
};

// One fish's geometry for one frame: its vertices in emission order, where each quad strip starts,
// and (when it is kept for drawing later) the model-view matrix it was emitted into.
struct FishStrips {
    struct Vertex {  // laid out for glInterleavedArrays(GL_T2F_N3F_V3F)
        float s, t;
        float nx, ny, nz;
        float x, y, z;
    };
    static constexpr int StripCount = 31;  // both passes of every part
    Vertex vertices[FishVerticesPerFrame];
    int stripFirst[StripCount];
    int vertexCount = 0;
    int stripCount = 0;
    float modelView[16];
};

class FishModel {
public:
    // Emits the nine parts into the current matrix, deformed by `frame` and scaled by the fish's
    // size: one GL_QUAD_STRIP begin/end pair per strip, nothing else (no state changes, no
    // matrix push or pop). With `keep`, the geometry and the current model-view matrix go there
    // instead and nothing is drawn.
    static void draw(const Fish& fish, const AnimationFrame& frame, FishStrips* keep = nullptr);
    // Draws kept geometry into the current matrix as draw would have drawn it.
    static void drawStrips(const FishStrips& strips);
    // Leaves the last vertex's normal and texture coordinate current, as drawing the strips does.
    static void leaveLastVertex(const FishStrips& strips);
    // The smallest (farthest) eye-space z of the kept geometry under its model-view matrix.
    static float farthestEyeZ(const FishStrips& strips);

    // One frame of fin flapping, the six oscillators and the head jitter of `fish`; fills the
    // corresponding arrays of `frame` (everything but columnAngles).
    static void advanceAnimation(Fish& fish, AnimationFrame& frame);

    // The three steps of advanceAnimation, in the order it runs them.
    static void flapFins(Fish& fish, AnimationFrame& frame);
    static void runOscillators(Fish& fish, AnimationFrame& frame);
    static void jitterHead(Fish& fish, AnimationFrame& frame);

    // The matrix glRotatef(angle, ax, ay, az) would multiply by (column-major).
    static void rotationMatrix(float angle, float ax, float ay, float az, float m[16]);
};
