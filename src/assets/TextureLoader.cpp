#include "assets/TextureLoader.h"

#include <cstdint>
#include <vector>

#include "assets/Bmp.h"
#include "assets/FileBytes.h"

bool GlVersionAtLeast(int major, int minor) {
    const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    int got[2] = {0, 0};
    for (int part = 0; version && part < 2; ++part) {
        while (*version >= '0' && *version <= '9') got[part] = got[part] * 10 + (*version++ - '0');
        if (*version++ != '.') break;
    }
    return got[0] > major || (got[0] == major && got[1] >= minor);
}

namespace {

// Textures from the plain loader never exceed this, whatever the implementation allows.
constexpr GLint kPlainTextureLimit = 512;

// The skins' mipmap level is chosen one step finer than a fish's size on the screen asks for: a
// small fish keeps the crisp eye and outlines of the skin's design (as the skins sampled without
// mipmaps had), at half the texels per pixel they sampled, so it barely shimmers.
constexpr GLfloat kSkinLodBias = -1.0f;

bool IsPowerOfTwo(int n) { return n > 0 && (n & (n - 1)) == 0; }

// The 2 x 2 halving of HalvePicture for `Channels` bytes a pixel (a constant, so the loop unrolls).
template <int Channels>
void HalveBlocks(const std::uint8_t* pixels, int w, int h, std::size_t stride, std::uint8_t* out) {
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* a = pixels + 2 * y * stride;
        const std::uint8_t* b = a + stride;
        for (int x = 0; x < w; ++x, a += 2 * Channels, b += 2 * Channels)
            for (int c = 0; c < Channels; ++c)
                *out++ = static_cast<std::uint8_t>((a[c] + a[c + Channels] + b[c] + b[c + Channels] + 2) / 4);
    }
}

// The next mipmap level of a width x height picture of 3 or 4 bytes a pixel whose rows are
// `stride` bytes apart: max(1, width / 2) x max(1, height / 2) pixels in packed rows. Halved as
// gluBuild2DMipmaps halves a byte picture with power-of-two sides: each value the mean of the four
// of its 2 x 2 block rounded half up, or, once a side is 1, the mean of its two cut off.
void HalvePicture(const std::uint8_t* pixels, int width, int height, int channels, std::size_t stride,
                  std::vector<std::uint8_t>& half) {
    const int w = width > 1 ? width / 2 : 1, h = height > 1 ? height / 2 : 1;
    half.resize(static_cast<std::size_t>(w) * h * channels);
    std::uint8_t* out = half.data();
    if (width > 1 && height > 1) {
        if (channels == 4) HalveBlocks<4>(pixels, w, h, stride, out);
        else HalveBlocks<3>(pixels, w, h, stride, out);
        return;
    }
    // One row or one column: neighbours along it.
    const std::size_t step = width > 1 ? static_cast<std::size_t>(channels) : stride;
    for (int i = 0; i < w * h; ++i)
        for (int c = 0; c < channels; ++c)
            *out++ = static_cast<std::uint8_t>((pixels[2 * i * step + c] + pixels[(2 * i + 1) * step + c]) / 2);
}

// Levels 1 .. n of the bound texture, down to 1 x 1, halved in turn from a level-0 picture with
// power-of-two sides whose rows are `stride` bytes apart. Leaves the unpack alignment at 1.
void UploadMipmapLevels(const std::uint8_t* level0, int width, int height, int channels, std::size_t stride,
                        GLenum format) {
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    std::vector<std::uint8_t> levels[2];
    const std::uint8_t* source = level0;
    for (int level = 1; width > 1 || height > 1; ++level) {
        std::vector<std::uint8_t>& half = levels[level % 2];
        HalvePicture(source, width, height, channels, stride, half);
        width = width > 1 ? width / 2 : 1;
        height = height > 1 ? height / 2 : 1;
        glTexImage2D(GL_TEXTURE_2D, level, channels, width, height, 0, format, GL_UNSIGNED_BYTE, half.data());
        source = half.data();
        stride = static_cast<std::size_t>(width) * channels;
    }
}

}  // namespace

bool LoadTextureMipmapped(const char* path, GLuint* texture) {
    if (!texture) return false;
    glGenTextures(1, texture);
    glBindTexture(GL_TEXTURE_2D, *texture);

    std::vector<std::uint8_t> file;
    nerith::RgbaImage image;
    if (!nerith::ReadFileBytes(path, file) || !nerith::DecodeMipmappedBmp(file.data(), file.size(), image))
        return false;
    file.clear();
    file.shrink_to_fit();

    // Power-of-two sides the implementation takes are halved here, as gluBuild2DMipmaps would
    // halve them but several times faster (the built-in picture is large); anything else is
    // resampled by gluBuild2DMipmaps itself.
    GLint limit = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &limit);
    if (IsPowerOfTwo(image.width) && IsPowerOfTwo(image.height) && image.width <= limit && image.height <= limit) {
        glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        glPixelStorei(GL_UNPACK_SKIP_ROWS, 0);
        glPixelStorei(GL_UNPACK_SKIP_PIXELS, 0);
        glTexImage2D(GL_TEXTURE_2D, 0, 4, image.width, image.height, 0, GL_RGBA, GL_UNSIGNED_BYTE, image.rgba.data());
        UploadMipmapLevels(image.rgba.data(), image.width, image.height, 4, static_cast<std::size_t>(image.width) * 4,
                           GL_RGBA);
        glPopClientAttrib();
    } else {
        gluBuild2DMipmaps(GL_TEXTURE_2D, 4, image.width, image.height, GL_RGBA, GL_UNSIGNED_BYTE, image.rgba.data());
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    return true;
}

namespace {

// The plain loader, with all mipmap levels when `mipmaps` is set.
bool LoadPlainTexture(const char* path, GLuint* texture, bool mipmaps) {
    if (!texture) return false;
    glGenTextures(1, texture);
    glBindTexture(GL_TEXTURE_2D, *texture);

    std::vector<std::uint8_t> file;
    nerith::BmpPicture picture;
    if (!nerith::ReadFileWithSystemCalls(path, file) || !nerith::DecodePlainBmp(file.data(), file.size(), picture))
        return false;
    file.clear();
    file.shrink_to_fit();

    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);

    GLint limit = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &limit);
    if (limit > kPlainTextureLimit) limit = kPlainTextureLimit;
    const int targetWidth = nerith::FitTextureSize(picture.width, limit);
    const int targetHeight = nerith::FitTextureSize(picture.height, limit);

    const bool alpha = picture.bitsPerPixel == 32;
    const GLint components = alpha ? 4 : 3;
    const GLenum format = alpha ? GL_BGRA_EXT : GL_BGR_EXT;

    // The rows of both the picture and the resampled image are padded to 4 bytes.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);

    // Uploaded as it is when it has the size already (8-bit pictures are always resampled).
    const std::uint8_t* level0 = picture.pixels.data();
    std::vector<std::uint8_t> scaled;
    if (targetWidth != picture.width || targetHeight != picture.height || picture.bitsPerPixel == 8) {
        scaled.resize(nerith::BmpRowStride(8 * components, targetWidth) * static_cast<std::size_t>(targetHeight));
        const GLint result = gluScaleImage(alpha ? GL_BGRA_EXT : GL_RGB, picture.width, picture.height,
                                           GL_UNSIGNED_BYTE, picture.pixels.data(), targetWidth, targetHeight,
                                           GL_UNSIGNED_BYTE, scaled.data());
        if (result != 0) {
            glPopClientAttrib();
            return false;
        }
        level0 = scaled.data();
    }
    glTexImage2D(GL_TEXTURE_2D, 0, components, targetWidth, targetHeight, 0, format, GL_UNSIGNED_BYTE, level0);
    if (mipmaps) {
        UploadMipmapLevels(level0, targetWidth, targetHeight, components,
                           nerith::BmpRowStride(8 * components, targetWidth), format);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
        if (GlVersionAtLeast(1, 4)) glTexParameterf(GL_TEXTURE_2D, GL_TEXTURE_LOD_BIAS, kSkinLodBias);
    }
    glPopClientAttrib();
    return true;
}

}  // namespace

bool LoadTexture(const char* path, GLuint* texture) { return LoadPlainTexture(path, texture, false); }

bool LoadSkinTexture(const char* path, GLuint* texture) { return LoadPlainTexture(path, texture, true); }

GLuint CreateBlankTexture() {
    const std::vector<std::uint8_t> zeros(128 * 128 * 4, 0);
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, 4, 128, 128, 0, GL_RGBA, GL_UNSIGNED_BYTE, zeros.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    return texture;
}
