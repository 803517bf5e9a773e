// Surfaces and textures as the program makes them on Windows: two views' surfaces on one thread,
// as the saver has on two monitors, and the texture loaders reading files through the system's
// own calls and the built-in art straight out of the resources.
#include <gtest/gtest.h>

#include <cstdio>
#include <utility>

#include "GL.h"
#include "assets/ResourcePack.h"
#include "assets/TextureLoader.h"
#include "view/GlSurface.h"
#include "win/Window.h"

namespace {

struct Surface {
    HWND window = nullptr;
    HDC dc = nullptr;
    GlSurface gl;

    GlSurface::Result Create(HGLRC shareWith = nullptr) {
        const char* cls = win::RegisterWndClass(CS_OWNDC, nullptr, nullptr, nullptr);
        window = CreateWindowExA(0, cls, "gl", WS_POPUP, 0, 0, 64, 48, nullptr, nullptr, GetModuleHandleA(nullptr),
                                 nullptr);
        dc = GetDC(window);
        return gl.Create(window, dc, GlSurface::ScenePixelFormat(), 64, 48, shareWith);
    }
    ~Surface() {
        gl.Destroy();
        ReleaseDC(window, dc);
        DestroyWindow(window);
    }
};

// A level parameter (GL_TEXTURE_WIDTH, ...) of the bound texture.
GLint Level(GLenum what, int level = 0) {
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, what, &value);
    return value;
}

}  // namespace

// The second context shares the first one's textures, and each deletes its own context and no other.
TEST(GlSurfaces, TwoOnOneThreadShareTexturesAndEachDeletesOnlyItsOwnContext) {
    Surface main, companion;
    ASSERT_EQ(main.Create(), GlSurface::Ready);
    EXPECT_FALSE(main.gl.SharesObjects());
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    const unsigned char pixel[4] = {255, 0, 0, 255};
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, 1, 0, GL_RGBA, GL_UNSIGNED_BYTE, pixel);

    ASSERT_EQ(companion.Create(main.gl.Context()), GlSurface::Ready);
    ASSERT_TRUE(companion.gl.SharesObjects());
    EXPECT_EQ(wglGetCurrentContext(), companion.gl.Context());
    EXPECT_TRUE(glIsTexture(texture));  // made in the main context, seen in the companion's

    main.gl.MakeCurrent();
    EXPECT_EQ(wglGetCurrentContext(), main.gl.Context());
    companion.gl.Destroy();  // not current: the current one stays
    EXPECT_EQ(wglGetCurrentContext(), main.gl.Context());
    EXPECT_TRUE(glIsTexture(texture));
    main.gl.Destroy();
    EXPECT_EQ(wglGetCurrentContext(), nullptr);
}

TEST(WglTextures, MissingFilesLeaveANameWithoutAnImage) {
    Surface surface;
    ASSERT_EQ(surface.Create(), GlSurface::Ready);
    GLuint texture = 0;
    EXPECT_FALSE(LoadTexture("C:\\nowhere\\none.bmp", &texture));
    EXPECT_NE(texture, 0u);
    glBindTexture(GL_TEXTURE_2D, texture);
    EXPECT_EQ(Level(GL_TEXTURE_WIDTH), 0);  // (foreign files: the host tests, with the same parser)
    EXPECT_FALSE(LoadSkinTexture("C:\\nowhere\\none.bmp", &texture));
    EXPECT_FALSE(LoadTextureMipmapped("C:\\nowhere\\none.bmp", &texture));
}

// Sharp on large screens: twice the skins' 256 x 128 design, the picture wide enough for a
// 2560-wide screen; both with every mipmap down to 1 x 1, or they would not be drawn at all.
TEST(WglTextures, BuiltInArtBecomesTextures) {
    Surface surface;
    ASSERT_EQ(surface.Create(), GlSurface::Ready);
    const std::string folder = ResourcePack::WorkFolder();
    ASSERT_FALSE(folder.empty());
    GLuint skin = 0, background = 0;
    ASSERT_TRUE(ResourcePack::Extract(ResourcePack::kFirstFishId + 7, folder, "fish7"));
    EXPECT_TRUE(LoadSkinTexture(ResourcePack::OutputPath(folder, "fish7").c_str(), &skin));
    ASSERT_TRUE(ResourcePack::Extract(ResourcePack::kBackgroundId, folder, "BackGround0"));
    EXPECT_TRUE(LoadTextureMipmapped(ResourcePack::OutputPath(folder, "BackGround0").c_str(), &background));
    for (const char* name : {"fish7", "BackGround0"}) {
        std::remove(ResourcePack::IntermediatePath(folder, name).c_str());
        std::remove(ResourcePack::OutputPath(folder, name).c_str());
    }
    for (const auto& t : {std::make_pair(skin, 512), std::make_pair(background, 2048)}) {
        glBindTexture(GL_TEXTURE_2D, t.first);
        const GLint w = Level(GL_TEXTURE_WIDTH);
        EXPECT_GE(w, t.second);
        EXPECT_EQ(Level(GL_TEXTURE_HEIGHT), w / 2);
        int levels = 0;
        while ((1 << levels) < w) ++levels;
        EXPECT_EQ(Level(GL_TEXTURE_WIDTH, levels), 1);
        EXPECT_EQ(Level(GL_TEXTURE_WIDTH, levels + 1), 0);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
