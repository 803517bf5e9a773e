#include "view/GlSurface.h"

#include "GL.h"
#include "Instrument.h"
#include "win/Window.h"

static bool directForced = false;

namespace {

// Frame buffer objects (OpenGL 3.0) and pixel buffer objects (2.1), from the driver.
constexpr GLenum FrameBuffer = 0x8D40, RenderBuffer = 0x8D41, ColourAttachment = 0x8CE0, DepthAttachment = 0x8D00,
                 FrameBufferComplete = 0x8CD5, Rgba8 = 0x8058, Depth32 = 0x81A7, Depth24 = 0x81A6;
constexpr GLenum PixelPackBuffer = 0x88EB, StreamRead = 0x88E1, ReadOnly = 0x88B8;
struct BufferCalls {
    void(APIENTRY* genFrameBuffers)(GLsizei, GLuint*);
    void(APIENTRY* deleteFrameBuffers)(GLsizei, const GLuint*);
    void(APIENTRY* bindFrameBuffer)(GLenum, GLuint);
    void(APIENTRY* genRenderBuffers)(GLsizei, GLuint*);
    void(APIENTRY* deleteRenderBuffers)(GLsizei, const GLuint*);
    void(APIENTRY* bindRenderBuffer)(GLenum, GLuint);
    void(APIENTRY* renderBufferStorage)(GLenum, GLenum, GLsizei, GLsizei);
    void(APIENTRY* attachRenderBuffer)(GLenum, GLenum, GLenum, GLuint);
    GLenum(APIENTRY* checkFrameBuffer)(GLenum);
    void(APIENTRY* genBuffers)(GLsizei, GLuint*);
    void(APIENTRY* deleteBuffers)(GLsizei, const GLuint*);
    void(APIENTRY* bindBuffer)(GLenum, GLuint);
    void(APIENTRY* bufferData)(GLenum, ptrdiff_t, const void*, GLenum);
    void*(APIENTRY* mapBuffer)(GLenum, GLenum);
    GLboolean(APIENTRY* unmapBuffer)(GLenum);
} gl;

template <typename F>
bool Fetch(F& call, const char* name) {
    call = reinterpret_cast<F>(reinterpret_cast<void*>(wglGetProcAddress(name)));
    return call != nullptr;
}

bool FetchBufferCalls() {
    return Fetch(gl.genFrameBuffers, "glGenFramebuffers") && Fetch(gl.deleteFrameBuffers, "glDeleteFramebuffers") &&
           Fetch(gl.bindFrameBuffer, "glBindFramebuffer") && Fetch(gl.genRenderBuffers, "glGenRenderbuffers") &&
           Fetch(gl.deleteRenderBuffers, "glDeleteRenderbuffers") &&
           Fetch(gl.bindRenderBuffer, "glBindRenderbuffer") &&
           Fetch(gl.renderBufferStorage, "glRenderbufferStorage") &&
           Fetch(gl.attachRenderBuffer, "glFramebufferRenderbuffer") &&
           Fetch(gl.checkFrameBuffer, "glCheckFramebufferStatus") && Fetch(gl.genBuffers, "glGenBuffers") &&
           Fetch(gl.deleteBuffers, "glDeleteBuffers") && Fetch(gl.bindBuffer, "glBindBuffer") &&
           Fetch(gl.bufferData, "glBufferData") && Fetch(gl.mapBuffer, "glMapBuffer") &&
           Fetch(gl.unmapBuffer, "glUnmapBuffer");
}

}  // namespace

void GlSurface::ForceDirect() { directForced = true; }

bool GlSurface::UnderWine() {
    HMODULE ntdll = GetModuleHandleA("ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

PIXELFORMATDESCRIPTOR GlSurface::ScenePixelFormat() {
    PIXELFORMATDESCRIPTOR pfd = {};
    pfd.nSize = sizeof pfd;
    pfd.nVersion = 1;
    pfd.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
    pfd.iPixelType = PFD_TYPE_RGBA;
    pfd.cColorBits = 24;
    pfd.cDepthBits = 32;
    pfd.iLayerType = PFD_MAIN_PLANE;
    return pfd;
}

GlSurface::Result GlSurface::Create(HWND view, HDC viewDC, const PIXELFORMATDESCRIPTOR& pfd, int width,
                                    int height, HGLRC shareWith) {
    view_ = view;
    viewDC_ = viewDC;
    renderDC_ = viewDC;
    width_ = width;
    height_ = height;
    if (UnderWine() && !directForced) {
        const char* cls = win::RegisterWndClass(CS_OWNDC, nullptr, nullptr, nullptr);
        hiddenWindow_ = CreateWindowExA(WS_EX_TOOLWINDOW, cls, "", WS_POPUP, 0, 0, width, height, nullptr,
                                        nullptr, GetModuleHandleA(nullptr), nullptr);
        if (hiddenWindow_) renderDC_ = GetDC(hiddenWindow_);
    }
    const int format = ChoosePixelFormat(renderDC_, &pfd);
    if (format == 0) return ChooseFailed;
    if (!SetPixelFormat(renderDC_, format, &pfd)) return SetFailed;
    context_ = wglCreateContext(renderDC_);
    // Sharing has to be set up while the new context is empty and has never been current.
    sharesObjects_ = context_ && shareWith && wglShareLists(shareWith, context_);
    wglMakeCurrent(renderDC_, context_);
    if (hiddenWindow_ && context_ && FetchBufferCalls()) CreateFrameBuffers();
    if (hiddenWindow_ && !frameBuffers_[0]) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = height;  // bottom-up, as OpenGL reads
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        frameBitmap_ = CreateDIBSection(viewDC, &info, DIB_RGB_COLORS, &frameBits_, nullptr, 0);
        frameDC_ = frameBitmap_ ? CreateCompatibleDC(viewDC) : nullptr;
        if (frameDC_) previousBitmap_ = SelectObject(frameDC_, frameBitmap_);
    }
    instrument::Note(!hiddenWindow_ ? "render direct" : frameBuffers_[0] ? "render frame_buffers" : "render gdi_copy");
    return Ready;
}

void GlSurface::CreateFrameBuffers() {
    while (glGetError() != GL_NO_ERROR) {
    }
    gl.genFrameBuffers(2, frameBuffers_);
    gl.genRenderBuffers(4, renderBuffers_);
    bool complete = true;
    for (int i = 0; i < 2; ++i) {
        gl.bindRenderBuffer(RenderBuffer, renderBuffers_[2 * i]);
        gl.renderBufferStorage(RenderBuffer, Rgba8, width_, height_);
        gl.bindRenderBuffer(RenderBuffer, renderBuffers_[2 * i + 1]);
        gl.renderBufferStorage(RenderBuffer, Depth32, width_, height_);
        gl.bindFrameBuffer(FrameBuffer, frameBuffers_[i]);
        gl.attachRenderBuffer(FrameBuffer, ColourAttachment, RenderBuffer, renderBuffers_[2 * i]);
        gl.attachRenderBuffer(FrameBuffer, DepthAttachment, RenderBuffer, renderBuffers_[2 * i + 1]);
        if (gl.checkFrameBuffer(FrameBuffer) != FrameBufferComplete) {
            // Where 32 depth bits are not to be had, 24.
            gl.bindRenderBuffer(RenderBuffer, renderBuffers_[2 * i + 1]);
            gl.renderBufferStorage(RenderBuffer, Depth24, width_, height_);
            complete = complete && gl.checkFrameBuffer(FrameBuffer) == FrameBufferComplete;
        }
    }
    gl.bindRenderBuffer(RenderBuffer, 0);
    gl.genBuffers(1, &pixelBuffer_);
    gl.bindBuffer(PixelPackBuffer, pixelBuffer_);
    gl.bufferData(PixelPackBuffer, static_cast<ptrdiff_t>(width_) * height_ * 4, nullptr, StreamRead);
    gl.bindBuffer(PixelPackBuffer, 0);
    if (complete && glGetError() == GL_NO_ERROR) {
        gl.bindFrameBuffer(FrameBuffer, frameBuffers_[drawing_]);
        return;
    }
    DeleteFrameBuffers();
}

void GlSurface::DeleteFrameBuffers() {
    if (!frameBuffers_[0]) return;
    gl.bindFrameBuffer(FrameBuffer, 0);
    gl.deleteFrameBuffers(2, frameBuffers_);
    gl.deleteRenderBuffers(4, renderBuffers_);
    gl.deleteBuffers(1, &pixelBuffer_);
    frameBuffers_[0] = frameBuffers_[1] = 0;
    pixelBuffer_ = 0;
}

void GlSurface::ShowFrame(int index, int w, int h) {
    gl.bindFrameBuffer(FrameBuffer, frameBuffers_[index]);
    gl.bindBuffer(PixelPackBuffer, pixelBuffer_);
    glReadPixels(0, 0, w, h, GL_BGRA_EXT, GL_UNSIGNED_BYTE, nullptr);
    if (const void* bits = gl.mapBuffer(PixelPackBuffer, ReadOnly)) {
        // The rows read, bottom-up, as a DIB of h lines as long as the buffer's.
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = h;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        SetDIBitsToDevice(viewDC_, 0, 0, w, h, 0, 0, 0, h, bits, &info, DIB_RGB_COLORS);
        gl.unmapBuffer(PixelPackBuffer);
    }
    gl.bindBuffer(PixelPackBuffer, 0);
}

void GlSurface::MakeCurrent() {
    if (context_ && wglGetCurrentContext() != context_) wglMakeCurrent(renderDC_, context_);
}

void GlSurface::Present() {
    if (!context_) return;
    RECT client;
    GetClientRect(view_, &client);
    const int w = client.right < width_ ? client.right : width_;
    const int h = client.bottom < height_ ? client.bottom : height_;
    instrument::FrameFinished(w, h);
    if (!hiddenWindow_) {
        glFinish();
        SwapBuffers(renderDC_);
        return;
    }
    // The hidden window is never shown, so its buffers are not swapped: the frame is read and
    // copied into the view with GDI.
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glPixelStorei(GL_PACK_ROW_LENGTH, width_);  // rows as long as the buffer's
    if (frameBuffers_[0]) {
        // Each frame is drawn into one of two frame buffers, in turn. The renderer's threads go on
        // with this frame while the one before it, long finished, is read and shown; the next
        // frame is drawn into that buffer. The very first frame is shown at once.
        glFlush();
        const int shown = started_ ? 1 - drawing_ : drawing_;
        if ((!started_ || previousWaiting_) && w > 0 && h > 0) ShowFrame(shown, w, h);
        previousWaiting_ = started_;
        started_ = true;
        drawing_ = 1 - drawing_;
        gl.bindFrameBuffer(FrameBuffer, frameBuffers_[drawing_]);
    } else if (frameDC_ && w > 0 && h > 0) {
        glFinish();
        glReadPixels(0, 0, w, h, GL_BGRA_EXT, GL_UNSIGNED_BYTE, frameBits_);
        // Bottom-up: the rows read fill the DIB from its last line upwards.
        BitBlt(viewDC_, 0, 0, w, h, frameDC_, 0, height_ - h, SRCCOPY);
    }
    glPixelStorei(GL_PACK_ROW_LENGTH, 0);
}

void GlSurface::Destroy() {
    if (context_) {
        const HGLRC current = wglGetCurrentContext();
        if (frameBuffers_[0]) {
            // Its render and pixel buffers would outlive it in the objects it shares: they are
            // deleted with the context current, and the one that was current comes back.
            const HDC currentDC = wglGetCurrentDC();
            MakeCurrent();
            DeleteFrameBuffers();
            if (current != context_) wglMakeCurrent(current ? currentDC : nullptr, current);
        }
        if (current == context_) wglMakeCurrent(nullptr, nullptr);
        wglDeleteContext(context_);
    }
    context_ = nullptr;
    sharesObjects_ = false;
    if (frameDC_) {
        SelectObject(frameDC_, previousBitmap_);
        DeleteDC(frameDC_);
        frameDC_ = nullptr;
    }
    if (frameBitmap_) {
        DeleteObject(frameBitmap_);
        frameBitmap_ = nullptr;
        frameBits_ = nullptr;
    }
    if (hiddenWindow_) {
        ReleaseDC(hiddenWindow_, renderDC_);
        DestroyWindow(hiddenWindow_);
        hiddenWindow_ = nullptr;
    }
    renderDC_ = nullptr;
}
