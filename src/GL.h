#pragma once
// OpenGL 1.1 and GLU headers for both builds. The Windows headers declare the GL entry points
// with WINGDIAPI/APIENTRY, which come from <windows.h>.
#ifdef _WIN32
#include <windows.h>
#endif
#include <GL/gl.h>
#include <GL/glu.h>

#ifndef GL_BGR_EXT
#define GL_BGR_EXT 0x80E0
#endif
#ifndef GL_BGRA_EXT
#define GL_BGRA_EXT 0x80E1
#endif
#ifndef GL_TEXTURE_LOD_BIAS
#define GL_TEXTURE_LOD_BIAS 0x8501  // a texture parameter from OpenGL 1.4 on
#endif
#ifndef GL_TEXTURE_BASE_LEVEL
#define GL_TEXTURE_BASE_LEVEL 0x813C  // a texture parameter from OpenGL 1.2 on
#endif
