#include "view/GlSurface.h"

#include "GL.h"
#include "Instrument.h"
#include "win/Window.h"

static bool directForced = false;

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
        if (hiddenWindow_) {
            renderDC_ = GetDC(hiddenWindow_);
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
    }
    const int format = ChoosePixelFormat(renderDC_, &pfd);
    if (format == 0) return ChooseFailed;
    if (!SetPixelFormat(renderDC_, format, &pfd)) return SetFailed;
    context_ = wglCreateContext(renderDC_);
    // Sharing has to be set up while the new context is empty and has never been current.
    sharesObjects_ = context_ && shareWith && wglShareLists(shareWith, context_);
    wglMakeCurrent(renderDC_, context_);
    instrument::Note(hiddenWindow_ ? "render gdi_copy" : "render direct");
    return Ready;
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
    if (hiddenWindow_) {
        // The hidden window is never shown, so its buffers are not swapped: the frame goes from
        // the back buffer into the DIB and from there into the view.
        if (w > 0 && h > 0 && frameDC_) {
            glPixelStorei(GL_PACK_ALIGNMENT, 4);
            glPixelStorei(GL_PACK_ROW_LENGTH, width_);  // rows as long as the DIB's
            glReadBuffer(GL_BACK);
            glReadPixels(0, 0, w, h, GL_BGRA_EXT, GL_UNSIGNED_BYTE, frameBits_);
            glPixelStorei(GL_PACK_ROW_LENGTH, 0);
            // Bottom-up: the rows read fill the DIB from its last line upwards.
            BitBlt(viewDC_, 0, 0, w, h, frameDC_, 0, height_ - h, SRCCOPY);
        }
        return;
    }
    SwapBuffers(renderDC_);
}

void GlSurface::Destroy() {
    if (context_) {
        if (wglGetCurrentContext() == context_) wglMakeCurrent(nullptr, nullptr);
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
