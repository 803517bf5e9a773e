#pragma once
// Where the view's OpenGL frames go. On Windows the context renders straight into the view's own
// device context and SwapBuffers shows the frame. Wine (X11) does not show OpenGL drawn into a
// child window, so there the context renders into a hidden top-level window of the screen's size
// and each finished frame is copied into the view with GDI. Everything else, picking and screen
// copies included, runs on the same context either way.
#include <windows.h>

class GlSurface {
public:
    enum Result { Ready, ChooseFailed, SetFailed };

    // Sets the pixel format and creates the context for the view's device context `viewDC`
    // (screen size width x height), and makes it current.
    Result Create(HWND view, HDC viewDC, const PIXELFORMATDESCRIPTOR& pfd, int width, int height);

    // Shows the finished frame (after glFinish).
    void Present();

    // Releases the context made current by Create (and the hidden window under Wine).
    void Destroy();

    HGLRC Context() const { return context_; }
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
    int width_ = 0, height_ = 0;
    // Under Wine: a pixel buffer of the screen's size that each frame is read into in the byte
    // order of a 32-bit DIB (blue, green, red, x) and shown from; where the driver has none, a
    // bottom-up 32-bit DIB of the screen's size selected into a memory DC, read into and blitted.
    unsigned pixelBuffer_ = 0;
    HDC frameDC_ = nullptr;
    HBITMAP frameBitmap_ = nullptr;
    HGDIOBJ previousBitmap_ = nullptr;
    void* frameBits_ = nullptr;
};
