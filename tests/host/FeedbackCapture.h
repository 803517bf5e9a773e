#pragma once
// Captures the polygons a piece of drawing code sends to OpenGL, through feedback mode, with
// window coordinates and texture coordinates. Needs a current context (OsMesa.h).
#include <vector>

#include "GL.h"

struct FeedbackVertex {
    float x, y, z;     // window coordinates
    float r, g, b, a;  // colour
    float s, t, p, q;  // texture coordinates
};

struct FeedbackPolygon {
    std::vector<FeedbackVertex> vertices;
};

template <typename Draw>
std::vector<FeedbackPolygon> CapturePolygons(Draw draw, int capacity = 1 << 21) {
    std::vector<GLfloat> buffer(static_cast<size_t>(capacity));
    glFeedbackBuffer(capacity, GL_3D_COLOR_TEXTURE, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const int used = glRenderMode(GL_RENDER);

    std::vector<FeedbackPolygon> polygons;
    const int vertexFloats = 11;
    auto readVertex = [&](int at) {
        const GLfloat* f = &buffer[static_cast<size_t>(at)];
        return FeedbackVertex{f[0], f[1], f[2], f[3], f[4], f[5], f[6], f[7], f[8], f[9], f[10]};
    };
    for (int i = 0; i < used;) {
        const int token = static_cast<int>(buffer[static_cast<size_t>(i++)]);
        switch (token) {
        case GL_POLYGON_TOKEN: {
            const int n = static_cast<int>(buffer[static_cast<size_t>(i++)]);
            FeedbackPolygon p;
            for (int v = 0; v < n; ++v, i += vertexFloats) p.vertices.push_back(readVertex(i));
            polygons.push_back(p);
            break;
        }
        case GL_LINE_TOKEN:
        case GL_LINE_RESET_TOKEN: i += 2 * vertexFloats; break;
        case GL_POINT_TOKEN:
        case GL_BITMAP_TOKEN:
        case GL_DRAW_PIXEL_TOKEN:
        case GL_COPY_PIXEL_TOKEN: i += vertexFloats; break;
        case GL_PASS_THROUGH_TOKEN: i += 1; break;
        default: return polygons;
        }
    }
    return polygons;
}
