#include "view/AquariumView.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include <windowsx.h>

#include "Commands.h"
#include "Instrument.h"
#include "assets/ResourcePack.h"
#include "assets/TextureLoader.h"
#include "backgrounds/CustomBackgroundDialog.h"
#include "backgrounds/PictureTextures.h"
#include "fish/FishSettingsDialog.h"
#include "music/BuiltinMusic.h"
#include "music/CustomMusicDialog.h"
#include "saver/SaverArgs.h"
#include "settings/AquariumSettingsDialog.h"
#include "settings/Settings.h"
#include "settings/SettingsFile.h"
#include "ui/IconMenu.h"
#include "win/App.h"

namespace {
constexpr UINT FrameTickMessage = WM_APP + 1;  // the frame clock's tick
constexpr UINT_PTR HiddenMusicTimer = 2;       // looks after the built-in music while no frame runs
constexpr UINT HiddenMusicPeriodMs = 200;

// The cursors of the four click modes: button up, button held.
struct ModeCursor {
    int mode, up, held;
};
const ModeCursor ModeCursors[] = {
    {TouchFishCmd, 158, 159}, {FeedFishCmd, 163, 164}, {ZoomInCmd, 167, 177}, {ZoomOutCmd, 169, 178}};
constexpr UINT FramePeriodMs = 10;

// Extracts one built-in picture, hands its file to `load` and deletes both work files again.
template <typename Load>
void UseBuiltInPicture(int id, const std::string& folder, const std::string& baseName, Load load) {
    instrument::SpanStart();
    ResourcePack::Extract(id, folder, baseName);  // writes the stored bytes, then descrambles them
    instrument::SpanEnd("extract_and_descramble");
    load(ResourcePack::OutputPath(folder, baseName).c_str());
    instrument::SpanEnd("texture_building");
    std::remove(ResourcePack::IntermediatePath(folder, baseName).c_str());
    std::remove(ResourcePack::OutputPath(folder, baseName).c_str());
    instrument::SpanEnd("deleting");
}

// The little preview of the screen-saver settings: it shows the tank and nothing else.
bool Previewing() { return saver::CurrentMode() == saver::RunMode::Preview; }

void AppMessage(const char* text) {
    if (Previewing()) return;  // the preview shows no boxes
    win::App* app = win::App::Current();
    MessageBoxA(nullptr, text, app ? app->AppName() : "NerithScr", MB_OK);
}
}  // namespace

AquariumView::AquariumView() = default;

AquariumView::~AquariumView() {
    // Their windows went with the destroy steps or the frame; the objects go with the view, which
    // goes only when none of their handlers can still be running (see win/Window.h).
    delete customMusicDialog;
    delete backgroundDialog;
}

bool AquariumView::CreateAsPane(HWND parent, int childId) {
    // The class: double clicks, full redraw on resize, the arrow cursor, the window brush.
    const char* cls = win::RegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
                                            LoadCursorA(nullptr, IDC_ARROW),
                                            reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr);
    if (!cls) return false;
    DWORD style = WS_CHILD | WS_VISIBLE | WS_BORDER;
    DWORD exStyle = WS_EX_CLIENTEDGE;
    style &= ~static_cast<DWORD>(WS_BORDER);
    return Create(cls, "", style, exStyle, 0, 0, 0, 0, parent,
                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(childId)));
}

bool AquariumView::CreateInside(HWND parent, const AquariumView* main) {
    RECT client;
    if (!GetClientRect(parent, &client) || client.right <= 0 || client.bottom <= 0) return false;
    insideWidth = client.right;
    insideHeight = client.bottom;
    main_ = main;
    if (main_) backWall.KeepPhasePrivate();
    const char* cls = win::RegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
                                            LoadCursorA(nullptr, IDC_ARROW),
                                            reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), nullptr);
    return cls && Create(cls, "", WS_CHILD | WS_VISIBLE, 0, 0, 0, insideWidth, insideHeight, parent, nullptr);
}

int AquariumView::SceneWidth() const { return insideWidth ? insideWidth : GetSystemMetrics(SM_CXSCREEN); }

int AquariumView::SceneHeight() const { return insideHeight ? insideHeight : GetSystemMetrics(SM_CYSCREEN); }

bool AquariumView::Leads() const { return !main_ && !Previewing(); }

LRESULT AquariumView::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT menuResult;
    if (IconMenu::HandleOwnerMessage(msg, wParam, lParam, &menuResult)) return menuResult;
    if (frameTick.IsTick(msg, wParam)) {
        OnTick();
        return 0;
    }
    switch (msg) {
    case WM_CREATE:
        if (DefaultProc(msg, wParam, lParam) == -1) return -1;
        return OnCreate();
    case WM_SIZE:
        DefaultProc(msg, wParam, lParam);
        OnSize(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return TRUE;  // OpenGL paints every pixel
    case WM_TIMER:
        if (wParam == HiddenMusicTimer) {
            ServiceBuiltinMusic();
            return 0;
        }
        break;
    case WM_DESTROY:
        DestroySteps();
        return 0;
    case WM_COMMAND:
        return OnCommand(wParam, lParam);
    case WM_LBUTTONDOWN:
        OnLButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        break;
    case WM_LBUTTONUP:
        OnLButtonUp();
        break;
    case WM_MOUSEMOVE:
        UpdateCursor();
        mouseX = GET_X_LPARAM(lParam);
        mouseY = GET_Y_LPARAM(lParam);
        break;
    case WM_LBUTTONDBLCLK:
        UpdateCursor();  // the button-down before it did the work
        break;
    case WM_RBUTTONDOWN:
        ShowPopupMenu(hwnd_, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        break;
    case WM_CONTEXTMENU:
        // Shift+F10 or the menu key (the point is -1, -1). The right button has shown the menu
        // already on its press.
        if (GET_X_LPARAM(lParam) == -1 && GET_Y_LPARAM(lParam) == -1) {
            bool centred = false;
            const POINT at = KeyboardMenuPoint(&centred);
            ShowPopupMenu(hwnd_, at, centred ? TPM_CENTERALIGN | TPM_VCENTERALIGN : 0);
            return 0;
        }
        break;
    default:
        break;
    }
    return Window::WindowProc(msg, wParam, lParam);
}

int AquariumView::OnCreate() {
    SetWindowLongPtrA(hwnd_, GWL_EXSTYLE,
                      GetWindowLongPtrA(hwnd_, GWL_EXSTYLE) & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE));
    InitializeScene();
    frameTick.Start(hwnd_, FrameTickMessage, FramePeriodMs);  // also when the scene stopped early
    return 0;
}

void AquariumView::InitializeScene() {
    // The device context, its pixel format and the OpenGL context.
    clientDC = GetDC(hwnd_);
    const PIXELFORMATDESCRIPTOR pfd = GlSurface::ScenePixelFormat();
    screenWidth = SceneWidth();
    screenHeight = SceneHeight();
    switch (glSurface.Create(hwnd_, clientDC, pfd, screenWidth, screenHeight,
                             main_ ? main_->glSurface.Context() : nullptr)) {
    case GlSurface::ChooseFailed:
        AppMessage("ChoosePixelFormat failed");
        return;
    case GlSurface::SetFailed:
        AppMessage("SetPixelFormat failed");
        return;
    case GlSurface::Ready:
        break;
    }
#ifdef NERITH_INSTRUMENT
    char line[96];
    wsprintfA(line, "gl context %d gdi %d size %dx%d shared %d renderer %.24s", glSurface.Context() != nullptr,
              glSurface.CopiesThroughGdi(), screenWidth, screenHeight, glSurface.SharesObjects(),
              reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    instrument::Note(line);
#endif

    // Fixed state and light 1; lighting itself is switched per frame.
    InitSceneState();

    // The work folder of the built-in art.
    const std::string folder = ResourcePack::WorkFolder();

    // The tank from the screen size (the size itself was needed for the context).
    layout = LayoutFor(screenWidth, screenHeight);

    // The temporary folder.
    char temp[260];
    if (GetTempPathA(sizeof temp, temp) == 0) {
        if (!Previewing())
            MessageBoxA(hwnd_, "Error Find TempPath.", "ERROR", MB_OK);
        return;
    }

    // The built-in background and the twenty fish skins: a companion whose context shares the
    // main view's textures draws with the main view's.
    borrowsArt_ = main_ && glSurface.SharesObjects();
    if (borrowsArt_) {
        backgroundTexture = main_->backgroundTexture;
        for (int i = 0; i < 20; ++i) fishSkinTextures[i] = main_->fishSkinTextures[i];
    } else {
        LoadBuiltInArt(folder);
    }

    // The settings file, read once for the whole process: a companion uses the main view's record.
    if (!main_) {
        LoadSettings();
        instrument::Mark("settings");
    }

    // The terrain, the bubble emitter on it and the bubble column, spread out already.
    emitter = SetUpTerrainAndBubbles(terrainGrid, bubbleSystem, layout.tank, LoadBubbleSprite,
                                     gSettings.bubbleSetting);
    instrument::Mark("bubbles");

    // The fish, each at its random starting place.
    school.placeFish(layout);

    // The probe strips.
    PlaceProbeStrips(layout, probeColumns, probeRows);

    // The screen-copy texture of the magnifier.
    screenCopyTexture = CreateBlankTexture();
    glBindTexture(GL_TEXTURE_2D, screenCopyTexture);

    // The background picture behind the rippling water.
    backgroundPicture = CreateBackgroundPicture(screenWidth, screenHeight);

    // The food pellets' discs.
    school.setUpPellets();

    // Fog.
    InitFog();

    instrument::Mark("scene_ready");

    // The preview in the screen-saver settings and a companion only show the tank: no dialogs,
    // no sound.
    if (!Leads()) return;

    // The Custom Music dialog, hidden until "Custom Music" shows it.
    customMusicDialog = new CustomMusicDialog;
    customMusicDialog->CreateHidden(hwnd_);
    instrument::Mark("music_dialog");

    // The Custom Background dialog, hidden until "Custom Background" shows it. The user's
    // pictures are reduced to what this screen needs.
    backgrounds::SetPictureScreen(screenWidth, screenHeight);
    instrument::SpanStart();
    backgroundDialog = new CustomBackgroundDialog();
    backgroundDialog->CreateHidden(hwnd_);
    instrument::SpanEnd("background_dialog");
}

void AquariumView::LoadBuiltInArt(const std::string& folder) {
    UseBuiltInPicture(ResourcePack::kBackgroundId, folder, "BackGround0",
                      [&](const char* path) { LoadTextureMipmapped(path, &backgroundTexture); });
    instrument::Mark("background_texture");
    for (int i = 0; i < 20; ++i) {
        char baseName[16];
        std::snprintf(baseName, sizeof baseName, "fish%d", i);
        UseBuiltInPicture(ResourcePack::kFirstFishId + i, folder, baseName,
                          [&](const char* path) { LoadSkinTexture(path, &fishSkinTextures[i]); });
    }
    instrument::Mark("fish_textures");
}

LRESULT AquariumView::OnCommand(WPARAM wParam, LPARAM lParam) {
    const int id = LOWORD(wParam);
    mode = id;
    switch (id) {
    case FishSettingsCmd: {
        // Modal; this view's timer keeps firing inside the dialog's loop, so the tank swims on
        // and shows each saved change.
        FishSettingsDialog dialog;
        dialog.DoModal(hwnd_);
        break;
    }
    case AquariumSettingsCmd: {
        // Modal in the same way: every change the dialog saves shows on the next frame.
        AquariumSettingsDialog settingsDialog;
        settingsDialog.DoModal(hwnd_);
        break;
    }
    case ExitCmd:
        // Ends at once: nothing is saved on this road.
        DestroySteps();
        std::exit(0);
    case CustomMusicCmd:
        if (customMusicDialog) customMusicDialog->ShowCentred();
        break;
    case CustomBackgroundCmd:
        if (backgroundDialog) backgroundDialog->ShowCentred();
        break;
    default:
        break;
    }
    // The frame may have been closed while a modal dialog ran: then the window is gone.
    if (!hwnd_) return 0;
    return DefaultProc(WM_COMMAND, wParam, lParam);
}

void AquariumView::OnLButtonDown(int x, int y) {
    mouseX = x;
    mouseY = y;
    buttonHeld = true;
    if (mode == FeedFishCmd) feedRequest = true;
    if (mode == ProbeMode) probeRequest = true;
    if (mode == MarkerMode) markerRequest = true;
    // A quick click can be down and up again before the next frame runs the fish pick; the
    // pick still owes it an answer, whatever the button did since.
    if (mode == TouchFishCmd || mode == ZoomInCmd || mode == ZoomOutCmd) fishClickPending = true;
    if (mode == RippleMode && backgroundPicture) backgroundPicture->StartRipple(x, screenHeight - y);
    UpdateCursor();
}

void AquariumView::OnLButtonUp() {
    if (mode == FeedFishCmd || mode == ZoomInCmd || mode == ZoomOutCmd || mode == QuietMode1 ||
        mode == QuietMode2)
        buttonHeld = false;  // in touch mode the fish pick clears it
    UpdateCursor();
}

void AquariumView::UpdateCursor() {
    if (mode == HiddenCursorMode) {
        SetCursor(nullptr);
        return;
    }
    for (const ModeCursor& c : ModeCursors) {
        if (c.mode != mode) continue;
        HCURSOR cursor = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(buttonHeld ? c.held : c.up));
        if (cursor) SetCursor(cursor);
        return;
    }
}

POINT AquariumView::KeyboardMenuPoint(bool* centred) const {
    RECT client;
    GetClientRect(hwnd_, &client);
    POINT cursor;
    if (GetCursorPos(&cursor) && WindowFromPoint(cursor) == hwnd_) {
        ScreenToClient(hwnd_, &cursor);
        if (PtInRect(&client, cursor)) {
            *centred = false;
            return cursor;
        }
    }
    *centred = true;
    return POINT{client.right / 2, client.bottom / 2};
}

void AquariumView::OnSize(int cx, int cy) {
    if (cy == 0) cy = 1;
    glSurface.MakeCurrent();
    glViewport(0, 0, cx, cy);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, static_cast<double>(cx) / cy, 0.1, 400.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    if (backgroundPicture) backgroundPicture->Resize(cx, cy);
}

void AquariumView::OnPaint() {
    PAINTSTRUCT ps;
    BeginPaint(hwnd_, &ps);
    if (!hidden) RenderFrame();
    EndPaint(hwnd_, &ps);
}

void AquariumView::SetHidden(bool hide) {
    if (hide == hidden || !hwnd_) return;
    hidden = hide;
    instrument::Hidden(hide);
    if (hide) {
        frameTick.Stop();
        if (Leads()) SetTimer(hwnd_, HiddenMusicTimer, HiddenMusicPeriodMs, nullptr);
    } else {
        KillTimer(hwnd_, HiddenMusicTimer);
        frameTick.Start(hwnd_, FrameTickMessage, FramePeriodMs);
    }
}

void AquariumView::OnTick() {
    if (hidden || !frameTick.FrameStarted()) return;  // hidden: a tick queued before the stop
    RenderFrame();
    instrument::SpanStart();
    // Timed apart: the ticks that start the loop, the ticks that stop it, and all the others.
    const char* musicSpan = !ownMusicOn ? (builtinMusicPending ? "music_start" : "music_idle")
                                        : (builtinMusicPending ? "music_idle" : "music_stop");
    if (Leads()) ServiceBuiltinMusic();
    instrument::SpanEnd(musicSpan);
    // No backlog: of the ticks that fell due while rendering, one starts the next frame.
    frameTick.FrameDone();
#ifdef NERITH_INSTRUMENT
    instrument::Ticks(frameTick.Stats());
#endif
}

void AquariumView::RenderFrame() {
    glSurface.MakeCurrent();  // each view on this thread draws with its own context
    instrument::Stage("idle");  // since the last frame was shown (the first time: since entry)
    ApplyFrameProjection(screenWidth, screenHeight);
    ApplyFrameCamera(cameraOffset);
    glViewport(0, 0, screenWidth, screenHeight);
    // The wall is left out where the picture drawn later in the frame covers it.
    const PixelRect pictureCover =
        BackgroundPictureShown(gSettings) && backgroundPicture
            ? PictureCover(screenWidth, screenHeight, cameraOffset, layout.picture)
            : PixelRect();
    const bool clearColour =
        ColourClearNeeded(gSettings, layout.wall, pictureCover, screenWidth, screenHeight, cameraOffset);
    glClear(clearColour ? GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT : GL_DEPTH_BUFFER_BIT);
    ApplyFrameLight(gSettings);
    instrument::Stage("clear");
    backWall.Draw(gSettings, layout.wall, pictureCover);
    instrument::Stage("wall");
    // The user's pictures, loaded once by the main view's dialog, show on every view that shares them.
    const CustomBackgroundDialog* pictures = borrowsArt_ ? main_->backgroundDialog : backgroundDialog;
    const GLuint picture = pictures ? pictures->TextureToDraw(backgroundTexture) : backgroundTexture;
    DrawFishAndPicture(school, gSettings, fishSkinTextures, mode, backgroundPicture, picture, layout.picture,
                       screenWidth, screenHeight, &instrument::Stage);
    DrawBubbleColumn(bubbleSystem, emitter, gSettings.bubbleSetting);
    instrument::Stage("bubbles");
    glDisable(GL_LIGHTING);
    school.pelletPass();
    instrument::Stage("pellets");
    const SweepOutcome sweep = ProbeSweep(pickState, mode, mouseX, mouseY, feedRequest, probeRequest,
                                          markerRequest, probeColumns, probeRows, layout, school);
    if (sweep.dropped) instrument::Count("pellet_drops");
    if (fishClickPending) {
        const int hit = FishPick(mode, mouseX, mouseY, fishClickPending, school);
        if (mode == TouchFishCmd) buttonHeld = false;  // in touch mode the pick ends the press
        if (hit >= 0) instrument::Count("fish_picks");
    }
    DrawMagnifier(mode, screenCopyTexture, screenWidth, screenHeight, cameraOffset, backgroundPicture);
    instrument::Stage("picking");
    instrument::Snapshot();
    glSurface.Present();
    instrument::Stage("present");
    instrument::FrameShown();
}

void AquariumView::DestroySteps() {
    glSurface.Destroy();
    if (clientDC) {
        ReleaseDC(hwnd_, clientDC);
        clientDC = nullptr;
    }
    // The dialogs' windows go now; their objects stay until the view goes, since a handler of
    // theirs may still be running (a message box of theirs open when the frame was closed).
    if (customMusicDialog && customMusicDialog->hwnd()) DestroyWindow(customMusicDialog->hwnd());
    if (backgroundDialog && backgroundDialog->hwnd()) DestroyWindow(backgroundDialog->hwnd());
    frameTick.Stop();
    KillTimer(hwnd_, HiddenMusicTimer);
}
