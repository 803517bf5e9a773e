#pragma once
// An off-screen OpenGL context for host tests: RGBA colour, 32-bit depth, readable pixels.
#include <GL/osmesa.h>

#include <cstddef>
#include <cstdint>
#include <vector>

#include "GL.h"

class OsMesaContext {
public:
    OsMesaContext(int width = 256, int height = 256) : width_(width), height_(height) {
        ctx_ = OSMesaCreateContextExt(OSMESA_RGBA, 32, 0, 0, nullptr);
        buffer_.resize(static_cast<size_t>(width) * height * 4);
        if (ctx_) OSMesaMakeCurrent(ctx_, buffer_.data(), GL_UNSIGNED_BYTE, width, height);
    }
    ~OsMesaContext() {
        if (ctx_) {
            glFinish();  // Mesa must not tear down a context with drawing still queued
            OSMesaMakeCurrent(nullptr, nullptr, 0, 0, 0);
            OSMesaDestroyContext(ctx_);
        }
    }
    OsMesaContext(const OsMesaContext&) = delete;
    OsMesaContext& operator=(const OsMesaContext&) = delete;

    bool ok() const { return ctx_ != nullptr; }
    int width() const { return width_; }
    int height() const { return height_; }

    struct Rgba {
        std::uint8_t r, g, b, a;
    };
    // Pixel at (x, y) with y counted from the bottom, as OpenGL counts it.
    Rgba pixel(int x, int y) {
        glFinish();
        const std::uint8_t* p = &buffer_[(static_cast<size_t>(y) * width_ + x) * 4];
        return {p[0], p[1], p[2], p[3]};
    }

private:
    OSMesaContext ctx_ = nullptr;
    int width_, height_;
    std::vector<std::uint8_t> buffer_;
};

// A parameter of the bound 2D texture's level (GL_TEXTURE_WIDTH, ...), -1 if GL leaves it alone.
inline GLint BoundTexLevel(GLenum what, int level = 0) {
    GLint value = -1;
    glGetTexLevelParameteriv(GL_TEXTURE_2D, level, what, &value);
    return value;
}

// A parameter of the bound 2D texture (GL_TEXTURE_MIN_FILTER, ...).
inline GLint BoundTexParam(GLenum what) {
    GLint value = -1;
    glGetTexParameteriv(GL_TEXTURE_2D, what, &value);
    return value;
}

inline GLuint BoundTexture() {
    GLint name = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &name);
    return static_cast<GLuint>(name);
}

// Bytes per texel of a pixel format or an uncompressed internal format.
inline int ChannelsOf(GLint format) {
    return format == GL_LUMINANCE ? 1 : format == GL_LUMINANCE_ALPHA ? 2 : format == GL_RGB ? 3 : 4;
}

// Level `level` of the bound 2D texture, tightly packed in `format`.
inline std::vector<std::uint8_t> BoundTexels(int level = 0, GLenum format = GL_RGBA) {
    std::vector<std::uint8_t> out(static_cast<size_t>(BoundTexLevel(GL_TEXTURE_WIDTH, level)) *
                                  BoundTexLevel(GL_TEXTURE_HEIGHT, level) * ChannelsOf(format));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, level, format, GL_UNSIGNED_BYTE, out.data());
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    return out;
}

// A new RGBA texture of width x height for the tests, bound, each texel filled in by
// texel(x, y, rgba) with y counted from the first row uploaded; `filter` both ways, repeating.
template <typename Texel>
GLuint MakeTestTexture(int width, int height, GLint filter, Texel texel) {
    std::vector<std::uint8_t> texels(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) texel(x, y, &texels[(static_cast<size_t>(y) * width + x) * 4]);
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, width, height, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    return name;
}
