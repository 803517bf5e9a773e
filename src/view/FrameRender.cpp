#include "view/FrameRender.h"

#include <cmath>

#include "GL.h"
#include "scene/Scenery.h"

void InitSceneState() {
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);

    const GLfloat white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    const GLfloat position[4] = {1000.0f, -1000.0f, 1000.0f, 1.0f};
    glLightfv(GL_LIGHT1, GL_AMBIENT, white);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, white);
    glLightfv(GL_LIGHT1, GL_POSITION, position);
    glEnable(GL_LIGHT1);
    glEnable(GL_COLOR_MATERIAL);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glEnable(GL_BLEND);
}

void InitFog() {
    const GLfloat colour[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    glFogi(GL_FOG_MODE, GL_EXP);
    glFogfv(GL_FOG_COLOR, colour);
    glFogf(GL_FOG_DENSITY, 0.5f);
    glHint(GL_FOG_HINT, GL_DONT_CARE);
    glFogf(GL_FOG_START, -10.0f);
    glFogf(GL_FOG_END, 100.0f);
    glEnable(GL_FOG);
}

void MultFrameFrustum(int width, int height) {
    if (width <= 0) width = 1;
    if (height <= 0) height = 1;
    const double w = width, h = height;
    if (width > height)
        glFrustum(-0.4 * w / h, 0.4 * w / h, -0.4, 0.4, 1.0, 1000.0);
    else
        glFrustum(-0.4, 0.4, -0.4 * h / w, 0.4 * h / w, 1.0, 1000.0);
}

void ApplyFrameProjection(int width, int height) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    MultFrameFrustum(width, height);
}

void ApplyFrameCamera(float cameraOffset) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    gluLookAt(0.0, 0.0, cameraOffset - 5.0, 0.0, 0.0, -500.0, 0.0, 1.0, 0.0);
}

float LightLevel(int lightIntensity) { return static_cast<float>(100 - static_cast<long long>(lightIntensity)) * 0.01f; }

void ApplyFrameLight(const Settings& settings) {
    const float l = LightLevel(settings.lightIntensity);
    const GLfloat colour[4] = {l, l, l, 1.0f};
    glLightfv(GL_LIGHT1, GL_AMBIENT, colour);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, colour);
    glEnable(GL_LIGHTING);
}

WallColours CycleColours(float t) {
    const float a = t * 0.033333335f, b = t * 0.04f, g = t * 0.05882353f;
    const float bottom[3] = {1.0f - std::cos(a), 1.0f - std::sin(b), 1.0f - std::cos(g)};
    WallColours c;
    for (int k = 0; k < 3; ++k) c.rgb[0][k] = c.rgb[1][k] = bottom[k];
    c.rgb[2][0] = std::sin(a);
    c.rgb[2][1] = std::cos(b);
    c.rgb[2][2] = std::sin(g);
    c.rgb[3][0] = std::sin(a);
    c.rgb[3][1] = 1.0f - std::cos(b);
    c.rgb[3][2] = std::sin(g);
    return c;
}

float BackWall::AdvancePhase(float t, bool locked) {
    if (locked) return t;
    t += 0.2f;
    if (t >= 10000.0f) t = 0.0f;
    return t;
}

namespace {

void ColourBytes(COLORREF c) {
    glColor3ub(static_cast<GLubyte>(c & 0xFF), static_cast<GLubyte>((c >> 8) & 0xFF),
               static_cast<GLubyte>((c >> 16) & 0xFF));
}

// One layer: a quad far behind the tank, corners bottom-left, bottom-right, top-right, top-left.
template <typename CornerColour>
void DrawLayer(const WallRect& wall, CornerColour corner) {
    const float x[4] = {wall.left, wall.right, wall.right, wall.left};
    const float y[4] = {wall.bottom, wall.bottom, wall.top, wall.top};
    const float z = wall.z;
    glDisable(GL_TEXTURE_2D);  // smooth shading is the scene's fixed state
    glBegin(GL_QUADS);
    for (int i = 0; i < 4; ++i) {
        corner(i);
        glVertex3f(x[i], y[i], z);
    }
    glEnd();
    glColor3ub(255, 255, 255);
    glEnable(GL_TEXTURE_2D);
}

}  // namespace

PixelRect PlaneCover(int width, int height, float cameraOffset, float z, float left, float right, float bottom,
                     float top) {
    PixelRect r;
    if (width <= 0 || height <= 0) return r;
    // The eye is at z = cameraOffset - 5 looking down -z; the near plane is 1 away.
    const double distance = (static_cast<double>(cameraOffset) - 5.0) - z;
    if (distance <= 1.0) return r;
    const double w = width, h = height;
    const double halfWidth = width > height ? 0.4 * w / h : 0.4;  // of the frustum at distance 1
    const double halfHeight = width > height ? 0.4 : 0.4 * h / w;
    auto column = [&](double x) { return w / 2 + x / distance / halfWidth * w / 2; };
    auto row = [&](double y) { return h / 2 + y / distance / halfHeight * h / 2; };
    const double margin = 0.25;
    // Pixel i is covered when its centre i + 0.5 lies within the outline.
    auto first = [&](double edge) { return static_cast<int>(std::floor(edge + margin - 0.5)) + 1; };
    auto end = [&](double edge) { return static_cast<int>(std::ceil(edge - margin - 0.5)); };
    auto clamp = [](int v, int limit) { return v < 0 ? 0 : v > limit ? limit : v; };
    r.x0 = clamp(first(column(left)), width);
    r.x1 = clamp(end(column(right)), width);
    r.y0 = clamp(first(row(bottom)), height);
    r.y1 = clamp(end(row(top)), height);
    if (r.Empty()) r = PixelRect();
    return r;
}

PixelRect PictureCover(int width, int height, float cameraOffset, const PicturePlane& plane) {
    return PlaneCover(width, height, cameraOffset, PicturePlaneZ, -plane.coverX, plane.coverX, -plane.scaleY,
                      plane.scaleY);
}

bool ColourClearNeeded(const Settings& settings, const WallRect& wall, const PixelRect& pictureCover, int width,
                       int height, float cameraOffset) {
    if (pictureCover.Whole(width, height)) return false;
    return !(BackWall::Shown(settings) && BackWall::Cover(wall, width, height, cameraOffset).Whole(width, height));
}

bool LitColourIsWhite(const Settings& settings) {
    if (LightLevel(settings.lightIntensity) < 0.85f) return false;
    GLfloat colour[4];
    glGetFloatv(GL_CURRENT_COLOR, colour);
    return colour[0] == 1.0f && colour[1] == 1.0f && colour[2] == 1.0f && colour[3] == 1.0f;
}

void DrawFishAndPicture(School& school, const Settings& settings, const GLuint skins[SpeciesCount], int mode,
                        RippleSurface* picture, GLuint pictureTexture, const PicturePlane& plane, int width,
                        int height, void (*stage)(const char*)) {
    const bool textureColours = LitColourIsWhite(settings);
    if (textureColours) glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    school.fishPass(settings.fishCounts, skins, mode);
    stage("fish_moves");
    // The picture's plane in eye space, and a unit's margin in front of it for the fish.
    GLfloat camera[16];
    glGetFloatv(GL_MODELVIEW_MATRIX, camera);
    const bool facing = camera[2] == 0.0f && camera[6] == 0.0f;
    const float pictureZ = camera[10] * PicturePlaneZ + camera[14];
    if (picture && BackgroundPictureShown(settings) && facing && school.keptFishFarthestEyeZ() > pictureZ + 1.0f) {
        school.leaveKeptFishVertex();  // the picture is lit with the normal the fish leave
        glDisable(GL_DEPTH_TEST);
        DrawBackgroundPicture(settings, picture, pictureTexture, plane, width, height);
        glEnable(GL_DEPTH_TEST);
        stage("picture");
        // What the picture leaves bound and current, as when it comes last.
        GLint pictureBinding = 0;
        GLfloat pictureTexCoord[4];
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &pictureBinding);
        glGetFloatv(GL_CURRENT_TEXTURE_COORDS, pictureTexCoord);
        school.drawKeptFish();
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(pictureBinding));
        glTexCoord4fv(pictureTexCoord);
        stage("fish");
    } else {
        school.drawKeptFish();
        stage("fish");
        DrawBackgroundPicture(settings, picture, pictureTexture, plane, width, height);
        stage("picture");
    }
    if (textureColours) glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

bool BackWall::Shown(const Settings& settings) {
    return settings.backFixed || settings.backGradual || settings.backAuto;
}

PixelRect BackWall::Cover(const WallRect& wall, int width, int height, float cameraOffset) {
    return PlaneCover(width, height, cameraOffset, wall.z, wall.left, wall.right, wall.bottom, wall.top);
}

void BackWall::Draw(const Settings& settings, const WallRect& wall, const PixelRect& hidden) {
    if (settings.backAuto) {
        if (!started_) {
            started_ = true;
            phase_ = settings.lockBackPhase;
        }
        if (!settings.lockBack) {
            phase_ = AdvancePhase(phase_, false);
            if (publishes_) backCyclePhase = phase_;
        }
    }
    if (!Shown(settings)) return;
    // The layers lie in one plane and each one drawn replaces the one before it (blending is off,
    // or on with the replacing default function in the first frame), so only the last layer that
    // is switched on can be seen; the ones under it are not drawn.
    glDepthFunc(GL_LEQUAL);
    // Where the picture will cover the wall the wall's pixels do not matter: the picture lies in
    // front of it and replaces colour and depth alike. So the layer is drawn only in the bands
    // around `hidden`, cut out with the scissor: the same quad, so the same pixels there.
    auto draw = [&](auto corner) {
        if (hidden.Empty()) {
            DrawLayer(wall, corner);
            return;
        }
        GLint viewport[4];
        glGetIntegerv(GL_VIEWPORT, viewport);
        const int w = viewport[2], h = viewport[3];
        const int bands[4][4] = {{0, 0, hidden.x0, h},
                                 {hidden.x1, 0, w - hidden.x1, h},
                                 {hidden.x0, 0, hidden.x1 - hidden.x0, hidden.y0},
                                 {hidden.x0, hidden.y1, hidden.x1 - hidden.x0, h - hidden.y1}};
        glEnable(GL_SCISSOR_TEST);
        for (const auto& b : bands) {
            if (b[2] <= 0 || b[3] <= 0) continue;
            glScissor(b[0], b[1], b[2], b[3]);
            DrawLayer(wall, corner);
        }
        glDisable(GL_SCISSOR_TEST);
    };
    if (settings.backAuto) {
        const WallColours c = CycleColours(phase_);
        draw([&](int i) { glColor3f(c.rgb[i][0], c.rgb[i][1], c.rgb[i][2]); });
    } else if (settings.backGradual) {
        draw([&](int i) { ColourBytes(i < 2 ? settings.backColor2 : settings.backColor1); });
    } else {
        draw([&](int) { ColourBytes(settings.backColor); });
    }
    glDepthFunc(GL_LESS);
}
