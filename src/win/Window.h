#pragma once
// A thin window layer in the manner of WTL's CWindowImpl: one C++ object per HWND, messages
// dispatched by a plain switch in the derived class's WindowProc, and the four kinds of messages a
// parent receives on behalf of a child control (owner-draw, notify/custom-draw, colour, command)
// reflected back to the control's own object, so each control draws and reacts by itself.
#include <windows.h>

namespace win {

// Reflected messages arrive at the control as ReflectBase + the original message number.
constexpr UINT ReflectBase = WM_USER + 0x1C00;

class Window {
public:
    Window() = default;
    virtual ~Window();
    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    HWND hwnd() const { return hwnd_; }
    operator HWND() const { return hwnd_; }

    // Creates the window with a class registered beforehand (see RegisterWndClass); the object is
    // attached before WM_NCCREATE, so WM_CREATE already reaches WindowProc.
    bool Create(const char* className, const char* title, DWORD style, DWORD exStyle,
                int x, int y, int width, int height, HWND parent, HMENU menuOrId);

    // Attaches this object to an existing window (a dialog control) by replacing its procedure.
    bool Subclass(HWND hwnd);

    // The object behind a window of ours, or nullptr.
    static Window* FromHandle(HWND hwnd);

    // Called for every message. The default passes the message on (DefaultProc), after offering
    // reflected notifications to the child controls that are ours.
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

    // What the window would do without us: the subclassed control's own procedure or DefWindowProc.
    virtual LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam);

    // Called once the window is gone (after WM_NCDESTROY); the handle is already cleared.
    virtual void OnFinalMessage() {}

    // A parent calls this for messages that may come from a child control; returns true with
    // *result set when the control's object handled the reflected message. For WM_COMMAND,
    // WM_HSCROLL and WM_VSCROLL the control consumes the message by returning non-zero; otherwise
    // the parent handles it too.
    static bool ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);

    static LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

protected:
    void Attach(HWND hwnd);
    // Forgets the window after WM_NCDESTROY (restoring a subclassed control's procedure).
    void Detach();
    HWND hwnd_ = nullptr;
    WNDPROC superProc_ = nullptr;  // set for subclassed controls
};

// Registers (once) and returns a window class with the given style, cursor, background brush and
// icon, named after them, as MFC's AfxRegisterWndClass does.
const char* RegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon);

}  // namespace win
