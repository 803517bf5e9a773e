// Two views' surfaces on the one GUI thread, as the screen saver has on two monitors: the second
// context shares the first one's textures, each view draws after making its own context current,
// and each one, when it goes, deletes its own context and no other.
#include <gtest/gtest.h>

#include "GL.h"
#include "view/GlSurface.h"
#include "win/Window.h"

namespace {

struct Surface {
    HWND window = nullptr;
    HDC dc = nullptr;
    GlSurface gl;

    GlSurface::Result Create(HGLRC shareWith) {
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

}  // namespace

TEST(GlSurfaces, TwoOnOneThreadShareTexturesAndEachDeletesOnlyItsOwnContext) {
    Surface main, companion;
    ASSERT_EQ(main.Create(nullptr), GlSurface::Ready);
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
