#pragma once
// The user's pictures as textures: loaded through the SOIL route (mipmaps, flipped rows, DXT
// compression where the GL has it, NTSC-safe colours) and deleted again when removed. A picture
// whose texture would be larger than the screen needs is reduced while it is decoded. The
// decoding, the mipmaps and the compression run on a worker thread while the tank swims on; a
// texture stays without its picture until FinishPictures uploads it. All but the worker need
// the current OpenGL context, on the thread that owns it.
#include <vector>

namespace backgrounds {

// SOIL_FLAG_MIPMAPS | SOIL_FLAG_INVERT_Y | SOIL_FLAG_COMPRESS_TO_DXT | SOIL_FLAG_NTSC_SAFE_RGB.
constexpr unsigned PictureFlags = 178;

// The size of the screen the pictures are shown on (0 x 0: unknown, only the texture limit and
// the 48-megapixel bound reduce a picture).
void SetPictureScreen(int width, int height);

// A new texture for the picture at `path`, or 0 when the file is missing or unreadable, or what
// its headers say already rules it out (not a picture, hostile tables, more memory than a
// decoding may take). Its picture is still being decoded when this returns.
unsigned LoadPicture(const char* path);

// Whether `texture` has its picture (false while it is being decoded).
bool PictureReady(unsigned texture);

// Puts the pictures the worker has decoded since the last call into their textures. Returns the
// textures of those it could not decode (a corrupt or truncated file); they are deleted.
std::vector<unsigned> FinishPictures();

// FinishPictures once the worker has decoded everything asked of it.
std::vector<unsigned> WaitForPictures();

// Deletes a picture's texture, and drops its decoding if that has not finished; 0 and NoPicture
// are ignored.
void ReleasePicture(unsigned texture);

}  // namespace backgrounds
