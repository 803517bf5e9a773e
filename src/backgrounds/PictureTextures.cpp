#include "backgrounds/PictureTextures.h"

#include "GL.h"
#include "assets/SoilLoader.h"
#include "backgrounds/PictureCycle.h"

namespace backgrounds {

unsigned LoadPicture(const char* path) { return nerith::SoilLoadCheckedTexture(path, PictureFlags); }

void ReleasePicture(unsigned texture) {
    if (texture == 0 || texture == NoPicture) return;
    const GLuint name = texture;
    glDeleteTextures(1, &name);
}

}  // namespace backgrounds
