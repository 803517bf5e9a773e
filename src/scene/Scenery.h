#pragma once
// The tank scenery as the view sets it up and draws it: the terrain grid that places the bubble
// emitter, the bubble column, and the background picture seen through the ripple grid.
#include "scene/ParticleSystem.h"
#include "scene/RippleSurface.h"
#include "scene/TerrainGrid.h"
#include "settings/Settings.h"
#include "scene/ViewLayout.h"

// Particles in the bubble pool.
constexpr int BubblePoolSize = 200;

// Where the bubble column rises from.
struct BubbleEmitter {
    float x, y, z;
};

// The terrain grid for the tank: (int)(right - left) columns, -(int)back rows, height factor 1.
void BuildTerrain(TerrainGrid& terrain, const TankBox& box);

// The emitter below the terrain vertex at column (int)(right - left) / 2 - 5, row 10.
BubbleEmitter PlaceBubbleEmitter(const TerrainGrid& terrain, const TankBox& box);

// Bubbles drawn for the "QIPAONUM" setting: 200 - setting, limited to the pool (0..200).
int BubbleCountFor(int bubbleSetting);

// The bubble sprite: extracts "Particle1" from the resource pack into the work folder, loads it
// with the plain texture loader and deletes both work files. Returns the texture name (a name
// without an image when the entry is missing). Needs a current OpenGL context.
unsigned LoadBubbleSprite();

// Installs the sprite loader, seeds the pool of 200 and loads the sprite, then moves the column
// 200 frames (with the random draws of drawing it) so that it is spread out when the first frame
// shows.
void StartBubbles(BubbleSystem& bubbles, BubbleSystem::SpriteLoader spriteLoader, int bubbleSetting);

// Scene set-up of the terrain and the bubble column, in order: the terrain grid, the emitter,
// StartBubbles. Returns the emitter.
BubbleEmitter SetUpTerrainAndBubbles(TerrainGrid& terrain, BubbleSystem& bubbles, const TankBox& box,
                                     BubbleSystem::SpriteLoader spriteLoader, int bubbleSetting);

// A new ripple surface sized to the screen. Owned by the caller for the rest of the run.
RippleSurface* CreateBackgroundPicture(int screenWidth, int screenHeight);

// The picture is drawn while "BACKGROUND" is 0 and "Show Terra" is non-zero.
bool BackgroundPictureShown(const Settings& settings);

// One frame of the background picture, when the settings show it and the surface exists: binds
// `texture` (the user's current picture or the built-in one, as the caller chooses), places the
// picture plane at z = -110 scaled by `plane`, starts a ripple on a short row above the middle of
// the screen, draws the grid and advances the ripples.
void DrawBackgroundPicture(const Settings& settings, RippleSurface* surface, unsigned texture,
                           const PicturePlane& plane, int screenWidth, int screenHeight);

// One frame of the bubble column: additive blending, no fog, no depth test, at the emitter.
// Leaves blending off, depth testing on and fog off.
void DrawBubbleColumn(BubbleSystem& bubbles, const BubbleEmitter& emitter, int bubbleSetting);
