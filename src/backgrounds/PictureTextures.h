#pragma once
// The user's pictures as textures: loaded through the SOIL route (mipmaps, flipped rows, DXT
// compression where the driver has it, NTSC-safe colours) and deleted again when removed.
// Need the current OpenGL context.
namespace backgrounds {

// SOIL_FLAG_MIPMAPS | SOIL_FLAG_INVERT_Y | SOIL_FLAG_COMPRESS_TO_DXT | SOIL_FLAG_NTSC_SAFE_RGB.
constexpr unsigned PictureFlags = 178;

// A new texture holding the picture at `path`, or 0 when the file is missing, cannot be
// decoded, is truncated, or is larger than the maximum texture size or about 50 megapixels
// (refused from its header, before its pixels are decoded).
unsigned LoadPicture(const char* path);

// Deletes a picture's texture; 0 and NoPicture are ignored.
void ReleasePicture(unsigned texture);

}  // namespace backgrounds
