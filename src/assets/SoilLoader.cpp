#include "assets/SoilLoader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#define GL_GLEXT_PROTOTYPES  // glCompressedTexImage2DARB, where the library exports it
#include "GL.h"

#define STB_DXT_STATIC
#define STB_DXT_IMPLEMENTATION
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-function"
#include <stb_dxt.h>
#pragma GCC diagnostic pop

namespace nerith {
namespace {

constexpr GLenum kCompressedRgbDxt1 = 0x83F0;   // GL_COMPRESSED_RGB_S3TC_DXT1_EXT
constexpr GLenum kCompressedRgbaDxt5 = 0x83F3;  // GL_COMPRESSED_RGBA_S3TC_DXT5_EXT

// Whether the current context lists `name` among its extensions.
bool HasGlExtension(const char* name) {
    const char* list = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    if (!list) return false;
    const std::size_t length = std::strlen(name);
    for (const char* p = list; (p = std::strstr(p, name)) != nullptr; p += length) {
        const bool starts = p == list || p[-1] == ' ';
        const bool ends = p[length] == '\0' || p[length] == ' ';
        if (starts && ends) return true;
    }
    return false;
}

void FlipRows(SoilImage& image) {
    const std::size_t rowBytes = static_cast<std::size_t>(image.width) * image.channels;
    std::uint8_t* pixels = image.pixels.data();
    for (int top = 0, bottom = image.height - 1; top < bottom; ++top, --bottom) {
        std::uint8_t* a = pixels + rowBytes * top;
        std::uint8_t* b = pixels + rowBytes * bottom;
        for (std::size_t i = 0; i < rowBytes; ++i) {
            const std::uint8_t t = a[i];
            a[i] = b[i];
            b[i] = t;
        }
    }
}

// Maps 0..255 linearly onto 15..235 through the same float table as SOIL; alpha is kept.
void ScaleToNtscSafe(SoilImage& image) {
    const float low = 16.0f - 0.499f;
    const float high = 235.0f + 0.499f;
    std::uint8_t table[256];
    for (int i = 0; i < 256; ++i) table[i] = static_cast<std::uint8_t>((high - low) * i / 255.0f + low);
    const int colours = image.channels - (1 - (image.channels & 1));
    const std::size_t count = static_cast<std::size_t>(image.width) * image.height;
    std::uint8_t* p = image.pixels.data();
    for (std::size_t i = 0; i < count; ++i, p += image.channels)
        for (int c = 0; c < colours; ++c) p[c] = table[p[c]];
}

// The two source pixels `first` and `second` around position `at` on a side of `size` pixels,
// and the weight of the second. A side of one pixel gives the same pixel twice.
float SampleAt(float at, int size, int& first, int& second) {
    first = static_cast<int>(at);
    if (first > size - 2) first = size - 2;
    if (first < 0) first = 0;
    second = size > 1 ? first + 1 : first;
    return at - static_cast<float>(first);
}

}  // namespace

int PowerOfTwoAtLeast(int size) {
    int p = 1;
    while (p < size && p < (1 << 30)) p *= 2;
    return p;
}

SoilImage SoilResample(const SoilImage& image, int newWidth, int newHeight) {
    SoilImage out;
    out.width = newWidth;
    out.height = newHeight;
    out.channels = image.channels;
    out.pixels.assign(static_cast<std::size_t>(newWidth) * newHeight * image.channels, 0);
    const int w = image.width, h = image.height, ch = image.channels;
    const float dx = newWidth > 1 ? (w - 1.0f) / (newWidth - 1.0f) : 0.0f;
    const float dy = newHeight > 1 ? (h - 1.0f) / (newHeight - 1.0f) : 0.0f;
    const std::uint8_t* src = image.pixels.data();
    std::uint8_t* dst = out.pixels.data();
    for (int y = 0; y < newHeight; ++y) {
        int y0, y1;
        const float sampleY = SampleAt(y * dy, h, y0, y1);
        for (int x = 0; x < newWidth; ++x) {
            int x0, x1;
            const float sampleX = SampleAt(x * dx, w, x0, x1);
            const std::uint8_t* p00 = src + (static_cast<std::size_t>(y0) * w + x0) * ch;
            const std::uint8_t* p01 = src + (static_cast<std::size_t>(y0) * w + x1) * ch;
            const std::uint8_t* p10 = src + (static_cast<std::size_t>(y1) * w + x0) * ch;
            const std::uint8_t* p11 = src + (static_cast<std::size_t>(y1) * w + x1) * ch;
            for (int c = 0; c < ch; ++c) {
                float value = 0.5f;
                value += p00[c] * (1.0f - sampleX) * (1.0f - sampleY);
                value += p01[c] * (sampleX) * (1.0f - sampleY);
                value += p10[c] * (1.0f - sampleX) * (sampleY);
                value += p11[c] * (sampleX) * (sampleY);
                *dst++ = static_cast<std::uint8_t>(value);
            }
        }
    }
    return out;
}

SoilImage SoilMipmapLevel(const SoilImage& image, int blockX, int blockY) {
    return SoilMipmapLevel(image.pixels.data(), image.width, image.height, image.channels, blockX, blockY);
}

SoilImage SoilMipmapLevel(const std::uint8_t* pixels, int w, int h, int ch, int blockX, int blockY) {
    if (blockX < 1) blockX = 1;
    if (blockY < 1) blockY = 1;
    SoilImage out;
    out.width = w / blockX < 1 ? 1 : w / blockX;
    out.height = h / blockY < 1 ? 1 : h / blockY;
    out.channels = ch;
    out.pixels.assign(static_cast<std::size_t>(out.width) * out.height * ch, 0);
    std::uint8_t* dst = out.pixels.data();
    for (int j = 0; j < out.height; ++j) {
        const int rows = blockY * (j + 1) > h ? h - j * blockY : blockY;
        for (int i = 0; i < out.width; ++i) {
            const int columns = blockX * (i + 1) > w ? w - i * blockX : blockX;
            const std::int64_t area = static_cast<std::int64_t>(columns) * rows;
            const std::uint8_t* corner =
                pixels + (static_cast<std::size_t>(j) * blockY * w + static_cast<std::size_t>(i) * blockX) * ch;
            for (int c = 0; c < ch; ++c) {
                // 64 bits: a block of a large picture sums past the range of an int.
                std::uint64_t sum = static_cast<std::uint64_t>(area >> 1);
                for (int v = 0; v < rows; ++v)
                    for (int u = 0; u < columns; ++u) sum += corner[(static_cast<std::size_t>(v) * w + u) * ch + c];
                *dst++ = static_cast<std::uint8_t>(sum / static_cast<std::uint64_t>(area));
            }
        }
    }
    return out;
}

SoilMipmapChain::SoilMipmapChain(const SoilImage& image)
    : image_(image),
      powerOfTwo_(image.width > 0 && image.height > 0 && (image.width & (image.width - 1)) == 0 &&
                  (image.height & (image.height - 1)) == 0),
      width_(image.width),
      height_(image.height) {}

bool SoilMipmapChain::Next(SoilImage& out) {
    const int level = level_ + 1;
    if (level >= 31 || ((1 << level) > image_.width && (1 << level) > image_.height)) return false;
    level_ = level;
    // Block sums fit 32 bits up to level 12 (4^12 * 255 < 2^32); beyond, and for other sides,
    // the level is averaged straight from the picture.
    if (!powerOfTwo_ || level > 12) {
        out = SoilMipmapLevel(image_, 1 << level, 1 << level);
        return true;
    }
    const int ch = image_.channels;
    const int w = width_ > 1 ? width_ / 2 : 1, h = height_ > 1 ? height_ / 2 : 1;
    const int dx = width_ > 1 ? 1 : 0, dy = height_ > 1 ? 1 : 0;  // the second child, if any
    std::vector<std::uint32_t> sums(static_cast<std::size_t>(w) * h * ch);
    const std::uint8_t* pixels = image_.pixels.data();
    auto at = [&](int x, int y, int c) -> std::uint32_t {
        const std::size_t i = (static_cast<std::size_t>(y) * width_ + x) * ch + c;
        return level == 1 ? pixels[i] : sums_[i];
    };
    std::uint32_t* s = sums.data();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            for (int c = 0; c < ch; ++c) {
                const int x0 = 2 * x, y0 = 2 * y;
                std::uint32_t sum = at(x0, y0, c);
                if (dx) sum += at(x0 + 1, y0, c);
                if (dy) sum += at(x0, y0 + 1, c);
                if (dx && dy) sum += at(x0 + 1, y0 + 1, c);
                *s++ = sum;
            }
    sums_.swap(sums);
    width_ = w;
    height_ = h;
    // The block of this level, cut to the picture's sides.
    const std::uint64_t area = static_cast<std::uint64_t>(std::min(1 << level, image_.width)) *
                               static_cast<std::uint64_t>(std::min(1 << level, image_.height));
    out.width = w;
    out.height = h;
    out.channels = ch;
    out.pixels.resize(sums_.size());
    for (std::size_t i = 0; i < sums_.size(); ++i)
        out.pixels[i] = static_cast<std::uint8_t>((sums_[i] + area / 2) / area);
    return true;
}

void PrepareSoilImage(SoilImage& image, unsigned int flags, int maxTextureSize, bool hasNonPowerOfTwo) {
    if (image.width < 1 || image.height < 1 || image.channels < 1) return;
    if (flags & SOIL_FLAG_INVERT_Y) FlipRows(image);
    if (flags & SOIL_FLAG_NTSC_SAFE_RGB) ScaleToNtscSafe(image);

    const bool tooLarge = maxTextureSize > 0 && (image.width > maxTextureSize || image.height > maxTextureSize);
    if ((flags & (SOIL_FLAG_POWER_OF_TWO | SOIL_FLAG_MIPMAPS)) || !hasNonPowerOfTwo || tooLarge) {
        const int newWidth = PowerOfTwoAtLeast(image.width);
        const int newHeight = PowerOfTwoAtLeast(image.height);
        if (newWidth != image.width || newHeight != image.height) image = SoilResample(image, newWidth, newHeight);
    }
    if (maxTextureSize > 0 && (image.width > maxTextureSize || image.height > maxTextureSize)) {
        const int blockX = image.width > maxTextureSize ? image.width / maxTextureSize : 1;
        const int blockY = image.height > maxTextureSize ? image.height / maxTextureSize : 1;
        image = SoilMipmapLevel(image, blockX, blockY);
    }
}

}  // namespace nerith

namespace nerith {
namespace {

// Glue for the compressed upload, an extension entry point (not exported by the Windows GL).
using CompressedTexImage2D = void(APIENTRY*)(GLenum, GLint, GLenum, GLsizei, GLsizei, GLint, GLsizei, const void*);

CompressedTexImage2D CompressedUpload() {
#ifdef _WIN32
    return reinterpret_cast<CompressedTexImage2D>(reinterpret_cast<void (*)()>(wglGetProcAddress("glCompressedTexImage2DARB")));
#else
    return &glCompressedTexImage2DARB;
#endif
}

// The DXT1 (8 bytes) or DXT5 (16 bytes) blocks of a level, each block from its 4 x 4 pixels as
// RGBA (grey as RGB; edge pixels repeated where a side is not a multiple of 4).
std::vector<std::uint8_t> CompressToDxt(const std::uint8_t* pixels, int width, int height, int channels, bool alpha) {
    const int across = (width + 3) / 4, down = (height + 3) / 4, blockBytes = alpha ? 16 : 8;
    std::vector<std::uint8_t> blocks(static_cast<std::size_t>(across) * down * blockBytes);
    std::uint8_t* out = blocks.data();
    std::uint8_t rgba[64];
    for (int by = 0; by < down; ++by)
        for (int bx = 0; bx < across; ++bx, out += blockBytes) {
            for (int i = 0; i < 16; ++i) {
                const int x = std::min(bx * 4 + i % 4, width - 1), y = std::min(by * 4 + i / 4, height - 1);
                const std::uint8_t* p = pixels + (static_cast<std::size_t>(y) * width + x) * channels;
                std::uint8_t* q = rgba + 4 * i;
                q[0] = p[0];
                q[1] = channels >= 3 ? p[1] : p[0];
                q[2] = channels >= 3 ? p[2] : p[0];
                q[3] = channels == 2 ? p[1] : channels == 4 ? p[3] : 255;
            }
            stb_compress_dxt_block(out, rgba, alpha ? 1 : 0, STB_DXT_NORMAL);
        }
    return blocks;
}

}  // namespace

SoilGlAbilities QuerySoilGl() {
    SoilGlAbilities gl;
    GLint maxTextureSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTextureSize);
    gl.maxTextureSize = maxTextureSize;
    gl.nonPowerOfTwo = HasGlExtension("GL_ARB_texture_non_power_of_two");
    gl.s3tc = HasGlExtension("GL_EXT_texture_compression_s3tc") && CompressedUpload() != nullptr;
    return gl;
}

SoilTexture PrepareSoilTexture(SoilImage& image, unsigned int flags, const SoilGlAbilities& gl) {
    PrepareSoilImage(image, flags, gl.maxTextureSize, gl.nonPowerOfTwo);
    SoilTexture texture;
    texture.channels = image.channels;
    texture.compressed = (flags & SOIL_FLAG_COMPRESS_TO_DXT) && gl.s3tc;
    auto add = [&](SoilImage& level) {
        std::vector<std::uint8_t> data = texture.compressed ? CompressToDxt(level.pixels.data(), level.width, level.height,
                                                                            level.channels, (level.channels & 1) == 0)
                                                            : std::move(level.pixels);
        texture.levels.push_back({level.width, level.height, std::move(data)});
    };
    if (flags & SOIL_FLAG_MIPMAPS) {
        SoilMipmapChain chain(image);
        SoilImage mip;
        while (chain.Next(mip)) add(mip);
    }
    add(image);
    // Level 0 first.
    std::rotate(texture.levels.rbegin(), texture.levels.rbegin() + 1, texture.levels.rend());
    return texture;
}

unsigned int UploadSoilTexture(const SoilTexture& prepared, unsigned int reuse_texture_ID, unsigned int flags) {
    GLuint texture = reuse_texture_ID;
    if (texture == 0) glGenTextures(1, &texture);
    if (texture == 0 || prepared.channels < 1 || prepared.channels > 4) return 0;

    static const GLenum kFormats[] = {0, GL_LUMINANCE, GL_LUMINANCE_ALPHA, GL_RGB, GL_RGBA};
    const GLenum format = kFormats[prepared.channels];
    const GLenum compressedFormat = (prepared.channels & 1) ? kCompressedRgbDxt1 : kCompressedRgbaDxt5;
    const CompressedTexImage2D compressedUpload = prepared.compressed ? CompressedUpload() : nullptr;

    glBindTexture(GL_TEXTURE_2D, texture);
    // The rows are packed tightly, whatever their width.
    glPushClientAttrib(GL_CLIENT_PIXEL_STORE_BIT);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    for (std::size_t level = 0; level < prepared.levels.size(); ++level) {
        const SoilTexture::Level& l = prepared.levels[level];
        if (compressedUpload)
            compressedUpload(GL_TEXTURE_2D, static_cast<GLint>(level), compressedFormat, l.width, l.height, 0,
                             static_cast<GLsizei>(l.data.size()), l.data.data());
        else
            glTexImage2D(GL_TEXTURE_2D, static_cast<GLint>(level), static_cast<GLint>(format), l.width, l.height, 0,
                         format, GL_UNSIGNED_BYTE, l.data.data());
    }
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                    (flags & SOIL_FLAG_MIPMAPS) ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
    const GLint wrap = (flags & SOIL_FLAG_TEXTURE_REPEATS) ? GL_REPEAT : GL_CLAMP;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    glPopClientAttrib();
    return texture;
}

PictureLimits WithContextLimits(PictureLimits limits) {
    if (limits.maxSide <= 0) {
        GLint maxTextureSize = 0;
        glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTextureSize);
        limits.maxSide = maxTextureSize > 0 ? maxTextureSize : 1024;
    }
    return limits;
}

}  // namespace nerith

unsigned int SOIL_load_OGL_texture(const char* filename, int force_channels, unsigned int reuse_texture_ID,
                                   unsigned int flags) {
    nerith::SoilImage image;
    if (!nerith::DecodeSoilFile(filename, force_channels, image)) return 0;
    return nerith::UploadSoilTexture(nerith::PrepareSoilTexture(image, flags, nerith::QuerySoilGl()), reuse_texture_ID,
                                     flags);
}
