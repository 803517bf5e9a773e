#include "view/Picking.h"

#include "fish/School.h"
#include "scene/RippleSurface.h"
#include "view/FrameRender.h"

namespace {

constexpr float StripStep = 0.5f;  // how far the strips move per frame
constexpr float StripBand = 5.0f;  // how far column 0 and row 0 go beyond the wall before turning

bool SweepsProbes(int mode) { return mode == FeedFishCmd || mode == ProbeMode || mode == MarkerMode; }

bool PicksFish(int mode) { return mode == TouchFishCmd || mode == ZoomInCmd || mode == ZoomOutCmd; }

// The direction flag for the lead strip at `lead`, turning at wall -/+ band.
bool Turn(bool rising, float lead, float wall) {
    if (lead < wall - StripBand) return true;
    if (lead > wall + StripBand) return false;
    return rising;
}

// A strip one unit across, reaching `halfX` and `halfY` from its place, one unit in front of it.
void StripQuad(float halfX, float halfY) {
    glBegin(GL_QUADS);
    glVertex3f(-halfX, -halfY, 1.0f);
    glVertex3f(halfX, -halfY, 1.0f);
    glVertex3f(halfX, halfY, 1.0f);
    glVertex3f(-halfX, halfY, 1.0f);
    glEnd();
}

// x of the first column under the mouse point, else NothingPicked.
float PickColumn(int mouseX, int mouseY, const ProbePoint columns[ProbeColumnCount], float halfLength) {
    for (int i = 0; i < ProbeColumnCount; ++i) {
        const ProbePoint& c = columns[i];
        if (PickTest(mouseX, mouseY, ProbePickRegion, c.x, c.y, c.z, [&] { StripQuad(0.5f, halfLength); }))
            return c.x;
    }
    return NothingPicked;
}

// y of the first row under the mouse point, else NothingPicked.
float PickRow(int mouseX, int mouseY, const ProbePoint rows[ProbeRowCount], float halfLength) {
    for (int j = 0; j < ProbeRowCount; ++j) {
        const ProbePoint& r = rows[j];
        if (PickTest(mouseX, mouseY, ProbePickRegion, r.x, r.y, r.z, [&] { StripQuad(halfLength, 0.5f); }))
            return r.y;
    }
    return NothingPicked;
}

// A small black wire cone, point away from the viewer, from a display list built the first time.
void DrawMarkerCone(PickState& state) {
    if (state.markerList == 0) {
        GLUquadric* quadric = gluNewQuadric();
        if (!quadric) return;
        const GLuint list = glGenLists(1);
        if (list != 0) {
            glNewList(list, GL_COMPILE);
            gluQuadricDrawStyle(quadric, GLU_LINE);
            gluCylinder(quadric, 2.0, 0.0, 1.0, 15, 10);
            glEndList();
            state.markerList = list;
        }
        gluDeleteQuadric(quadric);
        if (state.markerList == 0) return;
    }
    glCallList(state.markerList);
}

}  // namespace

void BeginPickTest(GLuint (&buffer)[PickBufferSize], int mouseX, int mouseY, int regionSize, float x, float y,
                   float z) {
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();  // holds the camera

    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    glSelectBuffer(PickBufferSize, buffer);
    glRenderMode(GL_SELECT);
    glInitNames();
    glPushName(0);

    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    gluPickMatrix(mouseX, viewport[3] - mouseY, regionSize, regionSize, viewport);
    // The frame's own perspective, so that what the pick finds is what the user sees under the
    // pointer, on every shape of screen.
    MultFrameFrustum(viewport[2], viewport[3]);

    glMatrixMode(GL_MODELVIEW);
    glTranslatef(x, y, z);
}

bool EndPickTest() {
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);
    // The name pushed for this test goes again, so that repeated picks never leave names behind.
    glPopName();
    const GLint hits = glRenderMode(GL_RENDER);  // -1 on overflow, which also means a hit
    glPopMatrix();
    return hits != 0;
}

void MoveProbeStrips(PickState& state, ProbePoint columns[ProbeColumnCount], ProbePoint rows[ProbeRowCount],
                     const TankBox& tank) {
    for (int i = 0; i < ProbeColumnCount; ++i) {
        state.columnsRising = Turn(state.columnsRising, columns[0].x, tank.left);
        columns[i].x += state.columnsRising ? StripStep : -StripStep;
    }
    for (int j = 0; j < ProbeRowCount; ++j) {
        state.rowsRising = Turn(state.rowsRising, rows[0].y, tank.bottom);
        rows[j].y += state.rowsRising ? StripStep : -StripStep;
    }
}

SweepOutcome ProbeSweep(PickState& state, int mode, int mouseX, int mouseY, bool& feedRequest,
                        bool probeRequest, bool markerRequest, ProbePoint columns[ProbeColumnCount],
                        ProbePoint rows[ProbeRowCount], const SceneLayout& layout, School& school) {
    SweepOutcome outcome;
    if (!SweepsProbes(mode)) return outcome;

    glColor4f(1.0f, 1.0f, 1.0f, 0.0f);
    MoveProbeStrips(state, columns, rows, layout.probeBox);

    if (feedRequest || probeRequest || markerRequest) {
        outcome.picked = true;
        const float x = PickColumn(mouseX, mouseY, columns, layout.columnHalfLength);
        const float y = PickRow(mouseX, mouseY, rows, layout.rowHalfLength);
        const TankBox& feed = layout.feedBox;
        if (!state.pickedXFound && feed.left <= x && x <= feed.right) {
            state.pickedXFound = true;
            state.pickedX = x;
        }
        if (!state.pickedYFound && feed.bottom <= y && y <= feed.top) {
            state.pickedYFound = true;
            state.pickedY = y;
        }
    }

    if (feedRequest && state.pickedXFound && state.pickedYFound) {
        state.pickedXFound = state.pickedYFound = false;
        feedRequest = false;
        outcome.dropped = school.dropPellet(state.pickedX, state.pickedY);
        outcome.usedUp = !outcome.dropped;
    }

    if (mode == MarkerMode && state.pickedXFound && state.pickedYFound) {
        state.pickedXFound = state.pickedYFound = false;
        glPushMatrix();
        glTranslatef(state.pickedX, state.pickedY - 2.0f, -70.0f);
        glColor3f(0.0f, 0.0f, 0.0f);
        DrawMarkerCone(state);
        glColor4f(1.0f, 1.0f, 1.0f, 0.0f);
        glPopMatrix();
        outcome.markerDrawn = state.markerList != 0;
    }

    glColor4f(1.0f, 1.0f, 1.0f, 0.0f);
    return outcome;
}

int FishPick(int mode, int mouseX, int mouseY, bool& buttonHeld, School& school) {
    if (!PicksFish(mode) || !buttonHeld) return -1;
    buttonHeld = false;
    const int live = school.liveFish();
    for (int i = 0; i < live && i < FishSlotCount; ++i) {
        Fish& fish = school.fish(i);
        // The slot number goes in as the species: the pick draws the fish, it does not skin it.
        if (!PickTest(mouseX, mouseY, FishPickRegion, fish.x(), fish.y(), fish.z(), [&] { fish.drawAndStep(i); }))
            continue;
        if (mode == TouchFishCmd)
            fish.touch();
        else
            fish.resize(2.0f, mode == ZoomInCmd);
        return i;
    }
    return -1;
}

void DrawMagnifier(int mode, GLuint screenCopyTexture, int screenWidth, int screenHeight, float cameraOffset,
                   RippleSurface* surface) {
    if (mode != RippleMode) return;
    glBindTexture(GL_TEXTURE_2D, screenCopyTexture);
    if (screenCopyTexture != 0) {
        // Only what the texture holds: a larger copy is an error and copies nothing at all.
        GLint texWidth = 0, texHeight = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &texWidth);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &texHeight);
        const GLsizei w = screenWidth < texWidth ? screenWidth : texWidth;
        const GLsizei h = screenHeight < texHeight ? screenHeight : texHeight;
        if (w > 0 && h > 0) glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, w, h);
    }
    if (!surface) return;
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, cameraOffset - 2.4f);
    glScalef(1.81f, 1.01f, 1.0f);
    surface->Draw();
    surface->Animate();
    glPopMatrix();
}
