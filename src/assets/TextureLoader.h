#pragma once
// The texture loaders for the built-in art. Each needs a current OpenGL context and leaves its
// texture bound to GL_TEXTURE_2D. Texture names are never deleted.
#include "GL.h"

// The background picture: a 24-bit BMP whose pixel data is read as one run of 3-byte pixels.
// Generates a name, stores it in `*texture`, binds it and builds all mipmap levels as RGBA
// with pure black made transparent, the levels as gluBuild2DMipmaps makes them; wrap GL_REPEAT, filters GL_LINEAR_MIPMAP_NEAREST (min) and
// GL_LINEAR (mag). A file that is missing or not an acceptable BMP leaves the named texture
// without an image and without parameters. Returns true when the texture got its image.
bool LoadTextureMipmapped(const char* path, GLuint* texture);

// The bubble sprite: an 8-, 24- or 32-bit BMP. Generates a name, stores it
// in `*texture`, binds it and uploads the picture at a power-of-two size of at most 512 x 512,
// without mipmaps, filters GL_LINEAR. A file that is missing or not an acceptable BMP leaves
// the named texture without an image and without parameters. Returns true when the texture
// got its image.
bool LoadTexture(const char* path, GLuint* texture);

// The fish skins: LoadTexture's picture at LoadTexture's size, and below it every mipmap level
// down to 1 x 1, halved in turn as LoadTextureMipmapped halves; min filter
// GL_LINEAR_MIPMAP_LINEAR, mag filter GL_LINEAR, and (OpenGL 1.4 on) a LOD bias of -1. The skins
// carry more texels than a fish shows on a small screen, where sampling the picture alone would
// shimmer. Returns true when the texture got its images.
bool LoadSkinTexture(const char* path, GLuint* texture);

// A new texture holding a 128 x 128 RGBA image of zeros, filters GL_LINEAR: the target of the
// view's screen copies.
GLuint CreateBlankTexture();

// Whether the current context's OpenGL version is at least major.minor.
bool GlVersionAtLeast(int major, int minor);
