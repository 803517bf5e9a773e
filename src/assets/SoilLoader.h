#pragma once
// The image-to-texture call of the Simple OpenGL Image Library (SOIL), for the user's own
// background pictures (JPEG, PNG, BMP), decoded with stb_image. It behaves as SOIL does for the
// flags below; other flag bits are ignored.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "assets/PictureDecoder.h"

enum { SOIL_LOAD_AUTO = 0 };
enum { SOIL_CREATE_NEW_ID = 0 };
enum {
    SOIL_FLAG_POWER_OF_TWO = 1,
    SOIL_FLAG_MIPMAPS = 2,
    SOIL_FLAG_TEXTURE_REPEATS = 4,
    SOIL_FLAG_INVERT_Y = 16,
    SOIL_FLAG_COMPRESS_TO_DXT = 32,
    SOIL_FLAG_NTSC_SAFE_RGB = 128
};

// Loads the picture at `filename` into a texture and leaves it bound to GL_TEXTURE_2D.
// `force_channels` 1 to 4 converts the picture to that many channels (SOIL_LOAD_AUTO keeps
// its own). `reuse_texture_ID` names the texture to fill, SOIL_CREATE_NEW_ID asks for a new
// one. Flags: SOIL_FLAG_INVERT_Y flips the rows; SOIL_FLAG_NTSC_SAFE_RGB maps the colour
// components linearly into 15..235 (alpha kept); the picture is resampled bilinearly up to
// power-of-two sides when SOIL_FLAG_POWER_OF_TWO or SOIL_FLAG_MIPMAPS asks for it or the GL
// lacks non-power-of-two textures, and halved by box filtering while larger than
// GL_MAX_TEXTURE_SIZE; SOIL_FLAG_MIPMAPS builds every level down to 1 x 1 (min filter
// GL_LINEAR_MIPMAP_LINEAR, else GL_LINEAR); SOIL_FLAG_COMPRESS_TO_DXT stores the texture as
// DXT1 (1 or 3 channels) or DXT5 (2 or 4 channels) when the GL has
// GL_EXT_texture_compression_s3tc and uncompressed otherwise; wrap GL_REPEAT with
// SOIL_FLAG_TEXTURE_REPEATS, else GL_CLAMP. Returns the texture name, or 0 when the file is
// missing or cannot be decoded or no texture name could be generated.
unsigned int SOIL_load_OGL_texture(const char* filename, int force_channels, unsigned int reuse_texture_ID,
                                   unsigned int flags);

namespace nerith {

// The changes SOIL makes before the upload, in its order: flip, NTSC-safe colours, growth to
// power-of-two sides (bilinear), reduction to `maxTextureSize` (box filter).
void PrepareSoilImage(SoilImage& image, unsigned int flags, int maxTextureSize, bool hasNonPowerOfTwo);

// The smallest power of two not below `size` (at most 2^30).
int PowerOfTwoAtLeast(int size);

// Bilinear resampling with SOIL's arithmetic (its growth to power-of-two sides); also used to
// shrink by less than half. A side of one pixel is repeated rather than interpolated.
SoilImage SoilResample(const SoilImage& image, int width, int height);

// One mipmap level: every block of blockX x blockY pixels averaged (rounded) into one pixel;
// sides max(1, side / block).
SoilImage SoilMipmapLevel(const SoilImage& image, int blockX, int blockY);
SoilImage SoilMipmapLevel(const std::uint8_t* pixels, int width, int height, int channels, int blockX, int blockY);

// The mipmap levels 1, 2, ... of `image` in turn, each the same as
// SoilMipmapLevel(image, 1 << level, 1 << level). With power-of-two sides each level is summed
// from the exact sums of the level before, so the picture is read once instead of once a level;
// other sides take the direct route. The image must outlive the chain.
class SoilMipmapChain {
public:
    explicit SoilMipmapChain(const SoilImage& image);
    // Fills `out` with the next level; false after the level where both sides reached 1.
    bool Next(SoilImage& out);

private:
    const SoilImage& image_;
    bool powerOfTwo_;
    int level_ = 0;
    int width_, height_;          // of the current level
    std::vector<std::uint32_t> sums_;  // its block sums (level 0: none, the pixels are read)
};

// What the current context offers SOIL's upload (to be asked on the thread that owns it).
struct SoilGlAbilities {
    int maxTextureSize = 0;
    bool nonPowerOfTwo = false;
    bool s3tc = false;  // GL_EXT_texture_compression_s3tc, and the compressed upload with it
};
SoilGlAbilities QuerySoilGl();

// The texture SOIL makes of a picture, worked out without the GL, on any thread: every level's
// pixels (rows packed tightly), or, with SOIL_FLAG_COMPRESS_TO_DXT where the GL has S3TC, its
// DXT1 (1 or 3 channels) or DXT5 (2 or 4 channels) blocks, compressed here as SOIL does itself.
struct SoilTexture {
    struct Level {
        int width, height;
        std::vector<std::uint8_t> data;
    };
    int channels = 0;
    bool compressed = false;
    std::vector<Level> levels;  // level 0 first; all the mipmaps with SOIL_FLAG_MIPMAPS
};

// The changes before the upload (PrepareSoilImage, which takes `image`'s pixels), the mipmaps
// and the compression, as SOIL_load_OGL_texture makes them for `flags`.
SoilTexture PrepareSoilTexture(SoilImage& image, unsigned int flags, const SoilGlAbilities& gl);

// Uploads a prepared texture into `texture` or (SOIL_CREATE_NEW_ID) a new one, with SOIL's
// filters and wrapping for `flags`, and leaves it bound. Returns the texture name or 0.
unsigned int UploadSoilTexture(const SoilTexture& prepared, unsigned int texture, unsigned int flags);

// limits with its side bound taken from the current context when it is 0.
PictureLimits WithContextLimits(PictureLimits limits);

}  // namespace nerith
