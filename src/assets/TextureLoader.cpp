#include "assets/TextureLoader.h"

#include <cstdint>
#include <vector>

#include "assets/Bmp.h"
#include "assets/FileBytes.h"

namespace {

// Textures from the plain loader never exceed this, whatever the implementation allows.
constexpr GLint kPlainTextureLimit = 512;

}  // namespace

bool LoadTextureMipmapped(const char* path, GLuint* texture) {
    if (!texture) return false;
    glGenTextures(1, texture);
    glBindTexture(GL_TEXTURE_2D, *texture);

    std::vector<std::uint8_t> file;
    nerith::RgbaImage image;
    if (!nerith::ReadFileBytes(path, file) || !nerith::DecodeMipmappedBmp(file.data(), file.size(), image))
        return false;

    gluBuild2DMipmaps(GL_TEXTURE_2D, 4, image.width, image.height, GL_RGBA, GL_UNSIGNED_BYTE, image.rgba.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    return true;
}

bool LoadTexture(const char* path, GLuint* texture) {
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

    bool uploaded = false;
    if (targetWidth == picture.width && targetHeight == picture.height && picture.bitsPerPixel != 8) {
        glTexImage2D(GL_TEXTURE_2D, 0, components, picture.width, picture.height, 0, format, GL_UNSIGNED_BYTE,
                     picture.pixels.data());
        uploaded = true;
    } else {
        std::vector<std::uint8_t> scaled(nerith::BmpRowStride(8 * components, targetWidth) *
                                         static_cast<std::size_t>(targetHeight));
        const GLint result = gluScaleImage(alpha ? GL_BGRA_EXT : GL_RGB, picture.width, picture.height,
                                           GL_UNSIGNED_BYTE, picture.pixels.data(), targetWidth, targetHeight,
                                           GL_UNSIGNED_BYTE, scaled.data());
        if (result == 0) {
            glTexImage2D(GL_TEXTURE_2D, 0, components, targetWidth, targetHeight, 0, format, GL_UNSIGNED_BYTE,
                         scaled.data());
            uploaded = true;
        }
    }
    glPopClientAttrib();
    return uploaded;
}

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
