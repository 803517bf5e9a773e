#pragma once
// Where the view's OpenGL frames go. On Windows the context renders straight into the view's own
// device context and SwapBuffers shows the frame. Wine (X11) does not show OpenGL drawn into a
// child window, so there the context renders into a hidden top-level window of the screen's size
// and each finished frame is copied into the view with GDI. Everything else, picking and screen
// copies included, runs on the same context either way.
//
// Several views (one per monitor in the screen saver) each have a context of their own on the one
// GUI thread: a view makes its context current before it draws (MakeCurrent). A view's context
// may share the textures and display lists of another's (wglShareLists), so that all of them draw
// with the pictures loaded once.
#include <windows.h>

class GlSurface {
public:
    enum Result { Ready, ChooseFailed, SetFailed };

    // Sets the pixel format and creates the context for the view's device context `viewDC`
    // (screen size width x height), and makes it current. With `shareWith` the new context shares
    // that context's textures and display lists when the driver allows it (SharesObjects).
    Result Create(HWND view, HDC viewDC, const PIXELFORMATDESCRIPTOR& pfd, int width, int height,
                  HGLRC shareWith = nullptr);

    // Makes this surface's context the current one (nothing to do when it already is).
    void MakeCurrent();

    // Shows the frame drawn (glFinish and SwapBuffers on the view's own context). Under Wine the
    // frame is drawn into frame buffers of the context's own and shown one tick later, while the
    // renderer finishes the next one.
    void Present();

    // Releases the context (and the hidden window under Wine); no context is current afterwards
    // if this one was.
    void Destroy();

    HGLRC Context() const { return context_; }
    // Whether the context shares the objects of the one given to Create.
    bool SharesObjects() const { return sharesObjects_; }
    bool CopiesThroughGdi() const { return hiddenWindow_ != nullptr; }

    // The scene's pixel format: double-buffered RGBA, 24 colour bits, a 32-bit depth buffer, no
    // alpha, accumulation, stencil or auxiliary buffers.
    static PIXELFORMATDESCRIPTOR ScenePixelFormat();

    // True when the program runs under Wine.
    static bool UnderWine();

    // Renders straight into the view even under Wine, as on Windows (the instrumented build does
    // this on request, so that the Windows path runs in its tests). Takes effect at the next Create.
    static void ForceDirect();

private:
    HWND view_ = nullptr;
    HDC viewDC_ = nullptr;
    HWND hiddenWindow_ = nullptr;
    HDC renderDC_ = nullptr;  // the view's DC, or the hidden window's under Wine
    HGLRC context_ = nullptr;
    bool sharesObjects_ = false;
    int width_ = 0, height_ = 0;
    // Under Wine: two frame buffers of the screen's size (RGBA, 32-bit depth) drawn into in turn,
    // and a pixel buffer each frame is read into in the byte order of a 32-bit DIB (blue, green,
    // red, alpha) and shown from. Where the driver has no frame buffers, a bottom-up 32-bit DIB of
    // the screen's size selected into a memory DC, read into from the back buffer and blitted.
    void CreateFrameBuffers();
    void DeleteFrameBuffers();
    void ShowFrame(int index, int w, int h);  // reads frame buffer `index` and copies it into the view
    unsigned frameBuffers_[2] = {};
    unsigned renderBuffers_[4] = {};  // colour and depth of each
    unsigned pixelBuffer_ = 0;
    int drawing_ = 0;               // the frame buffer being drawn into
    bool started_ = false;          // a frame has been shown
    bool previousWaiting_ = false;  // the other frame buffer holds a frame not shown yet
    HDC frameDC_ = nullptr;
    HBITMAP frameBitmap_ = nullptr;
    HGDIOBJ previousBitmap_ = nullptr;
    void* frameBits_ = nullptr;
};
