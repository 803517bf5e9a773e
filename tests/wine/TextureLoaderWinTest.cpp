// The texture loaders as the program runs them: a real WGL context, files read through the
// system's own calls, and the built-in art straight out of the resources.
#include <gtest/gtest.h>

#include <cstdio>
#include <utility>

#include "assets/ResourcePack.h"
#include "assets/TextureLoader.h"
#include "view/GlSurface.h"
#include "win/Window.h"

namespace {

class WglContext : public ::testing::Test {
protected:
    void SetUp() override {
        const char* cls = win::RegisterWndClass(CS_OWNDC, nullptr, nullptr, nullptr);
        window = CreateWindowExA(0, cls, "gl", WS_POPUP, 0, 0, 64, 64, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window, nullptr);
        dc = GetDC(window);
        ASSERT_EQ(surface.Create(window, dc, GlSurface::ScenePixelFormat(), 64, 64), GlSurface::Ready);
    }
    void TearDown() override {
        surface.Destroy();
        if (window) {
            ReleaseDC(window, dc);
            DestroyWindow(window);
        }
    }
    static void Size(GLuint texture, GLint* w, GLint* h) {
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, w);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, h);
    }

    HWND window = nullptr;
    HDC dc = nullptr;
    GlSurface surface;
};

}  // namespace

TEST_F(WglContext, MissingFilesLeaveANameWithoutAnImage) {
    GLuint texture = 0;
    EXPECT_FALSE(LoadTexture("C:\\nowhere\\none.bmp", &texture));
    EXPECT_NE(texture, 0u);
    GLint w = -1, h = -1;
    Size(texture, &w, &h);
    EXPECT_EQ(w, 0);  // (foreign files: the host tests, with the same parser)
    EXPECT_FALSE(LoadSkinTexture("C:\\nowhere\\none.bmp", &texture));
    EXPECT_FALSE(LoadTextureMipmapped("C:\\nowhere\\none.bmp", &texture));
}

TEST_F(WglContext, BuiltInArtBecomesTextures) {
    const std::string folder = ResourcePack::WorkFolder();
    ASSERT_FALSE(folder.empty());
    GLuint skin = 0, background = 0;
    ASSERT_TRUE(ResourcePack::Extract(ResourcePack::kFirstFishId + 7, folder, "fish7"));
    EXPECT_TRUE(LoadSkinTexture(ResourcePack::OutputPath(folder, "fish7").c_str(), &skin));
    std::remove(ResourcePack::IntermediatePath(folder, "fish7").c_str());
    std::remove(ResourcePack::OutputPath(folder, "fish7").c_str());
    ASSERT_TRUE(ResourcePack::Extract(ResourcePack::kBackgroundId, folder, "BackGround0"));
    EXPECT_TRUE(LoadTextureMipmapped(ResourcePack::OutputPath(folder, "BackGround0").c_str(), &background));
    std::remove(ResourcePack::IntermediatePath(folder, "BackGround0").c_str());
    std::remove(ResourcePack::OutputPath(folder, "BackGround0").c_str());
    // Sharp on large screens: twice the skins' 256 x 128 design, the picture wide enough for a
    // 2560-wide screen; both with every mipmap down to 1 x 1, or they would not be drawn at all.
    for (const auto& t : {std::make_pair(skin, 512), std::make_pair(background, 2048)}) {
        GLint w = 0, h = 0;
        Size(t.first, &w, &h);
        EXPECT_GE(w, t.second);
        EXPECT_EQ(h, w / 2);
        int levels = 0;
        while ((1 << levels) < w) ++levels;
        GLint last = 0, beyond = -1;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, levels, GL_TEXTURE_WIDTH, &last);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, levels + 1, GL_TEXTURE_WIDTH, &beyond);
        EXPECT_EQ(last, 1);
        EXPECT_EQ(beyond, 0);
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
