#pragma once
// The aquarium view: the one child window of the frame. It owns the OpenGL context and the whole
// scene, and its 10 ms frame clock drives every frame. The screen saver gives every further
// monitor a companion view with a scene of its own, laid out for that monitor.
#include <string>

#include "GL.h"
#include "Commands.h"
#include "fish/School.h"
#include "scene/Scenery.h"
#include "view/FrameRender.h"
#include "view/FrameTick.h"
#include "view/GlSurface.h"
#include "view/Picking.h"
#include "scene/ViewLayout.h"
#include "win/Window.h"

class CustomBackgroundDialog;
class CustomMusicDialog;

class AquariumView : public win::Window {
public:
    AquariumView();
    ~AquariumView() override;

    // Creates the view as the frame's pane with the class and styles of PreCreateWindow.
    bool CreateAsPane(HWND parent, int childId);
    // Creates the view as a child filling `parent`'s client area, with the scene laid out for
    // that size instead of the screen's: the screen saver's preview, or with `main` a companion
    // of the main view on another monitor. A companion draws with the main view's textures and
    // user pictures (its context shares them where the driver allows; else it loads the built-in
    // art itself), and leaves the settings record, the sound and the dialogs to the main view,
    // which must outlive it.
    bool CreateInside(HWND parent, const AquariumView* main = nullptr);

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Commands routed from the frame; the view handles none of them there.
    bool OnCmdMsg(int /*id*/) { return false; }

    // Renders one frame into the back buffer and shows it.
    void RenderFrame();

    // Whether anyone can see the view (its frame knows). While hidden no frame runs at all: the
    // tick stops and the scene waits where it is, to go on from there when shown again; only the
    // built-in music is still looked after.
    void SetHidden(bool hidden);
    bool Hidden() const { return hidden; }

    // The mouse mode: the id of the last command received.
    int Mode() const { return mode; }
    const TankBox& Tank() const { return layout.tank; }
    int ScreenWidth() const { return screenWidth; }
    int ScreenHeight() const { return screenHeight; }

private:
    int OnCreate();
    LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
    void OnLButtonDown(int x, int y);
    void OnLButtonUp();
    void UpdateCursor();
    // Where the menu opened from the keyboard shows: at the cursor when the cursor is over the
    // view, else centred on the view (*centred true).
    POINT KeyboardMenuPoint(bool* centred) const;
    void OnSize(int cx, int cy);
    void OnTick();
    void OnPaint();
    void InitializeScene();
    void LoadBuiltInArt(const std::string& folder);
    // The view that plays the music and owns the dialogs: neither the preview nor a companion.
    bool Leads() const;
    void DestroySteps();
    // The size the scene is laid out for: the screen's, or the parent's of CreateInside.
    int SceneWidth() const;
    int SceneHeight() const;

    ProbePoint probeColumns[ProbeColumnCount] = {};
    ProbePoint probeRows[ProbeRowCount] = {};
    BubbleSystem bubbleSystem;
    TerrainGrid terrainGrid;
    School school;  // the 20 fish, the 10 pellets and the fish position table
    GLuint backgroundTexture = 0;
    GLuint fishSkinTextures[20] = {};
    int mouseX = 0, mouseY = 0;
    bool buttonHeld = false;
    bool feedRequest = false;
    bool probeRequest = false;
    bool markerRequest = false;
    bool fishClickPending = false;  // a touch or zoom click the next frame's fish pick resolves
    bool hidden = false;  // nobody can see the view: no frame runs
    int mode = FeedFishCmd;
    RippleSurface* backgroundPicture = nullptr;  // lives until the process ends
    CustomBackgroundDialog* backgroundDialog = nullptr;  // created hidden at start-up
    GLuint screenCopyTexture = 0;
    int screenWidth = 1680, screenHeight = 1050;
    float cameraOffset = -5.0f;
    BubbleEmitter emitter = {0, 0, 0};
    SceneLayout layout = LayoutFor(1680, 1050);  // everything else that follows from the size
    HDC clientDC = nullptr;  // the view's own device context, bound to the OpenGL context
    GlSurface glSurface;
    FrameTick frameTick;
    int insideWidth = 0, insideHeight = 0;  // set by CreateInside
    const AquariumView* main_ = nullptr;    // set for a companion by CreateInside
    bool borrowsArt_ = false;               // a companion drawing with the main view's textures

    BackWall backWall;
    PickState pickState;
    CustomMusicDialog* customMusicDialog = nullptr;  // created hidden with the scene, lives with the view
};
