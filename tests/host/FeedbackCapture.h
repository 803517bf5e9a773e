#pragma once
// Captures the polygons a piece of drawing code sends to OpenGL, through feedback mode, as the
// window coordinates of their vertices. Needs a current context (OsMesa.h).
#include <vector>

#include "GL.h"

struct FeedbackVertex {
    float x, y;  // window coordinates
};

struct FeedbackPolygon {
    std::vector<FeedbackVertex> vertices;
};

// The capture ends at the first token that is not a polygon (a line, a point, a bitmap).
template <typename Draw>
std::vector<FeedbackPolygon> CapturePolygons(Draw draw, int capacity = 1 << 21) {
    std::vector<GLfloat> buffer(static_cast<size_t>(capacity));
    glFeedbackBuffer(capacity, GL_2D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    draw();
    const int used = glRenderMode(GL_RENDER);
    const GLfloat* f = buffer.data();
    std::vector<FeedbackPolygon> polygons;
    for (int i = 0; i < used && static_cast<int>(f[i]) == GL_POLYGON_TOKEN;) {
        const int n = static_cast<int>(f[i + 1]);
        i += 2;
        FeedbackPolygon p;
        for (int v = 0; v < n; ++v, i += 2) p.vertices.push_back({f[i], f[i + 1]});
        polygons.push_back(p);
    }
    return polygons;
}
