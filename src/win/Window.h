#pragma once
// A thin window layer in the manner of WTL's CWindowImpl: one C++ object per HWND, messages
// dispatched by a plain switch in the derived class's WindowProc, and the kinds of messages a
// parent receives on behalf of a child control (owner-draw, notify/custom-draw, colour, command and
// scroll) reflected back to the control's own object, so each control draws and reacts by itself.
//
// Reflection happens once, in the layer, before the parent's own procedure sees the message: a
// control that acts on a reflected message returns its result without passing the message on to
// Window::WindowProc, and the parent never sees it; a control that passes it on leaves it to the
// parent, which then handles it as if nothing had been reflected. Either way exactly one of them
// handles it.
//
// Objects outlive their windows for as long as a message of ours is being handled: OnFinalMessage
// (where a heap window deletes itself) runs once the window is gone and the outermost window
// procedure of ours has returned, so no handler further up the stack (a command handler waiting
// in a modal dialog, a menu or a message box) finds its object deleted under it.
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

    // Called for every message the reflection left to this window. The default passes the message
    // on (DefaultProc); a reflected message that reaches it is one the control leaves to its parent.
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);

    // What the window would do without us: the subclassed control's own procedure or DefWindowProc.
    virtual LRESULT DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam);

    // Called once the window is gone (after WM_NCDESTROY; the handle is already cleared) and no
    // message to any window of ours is being handled any more.
    virtual void OnFinalMessage() {}

    static LRESULT CALLBACK StaticWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

protected:
    void Attach(HWND hwnd);
    // Forgets the window after WM_NCDESTROY (restoring a subclassed control's procedure).
    void Detach();
    HWND hwnd_ = nullptr;
    WNDPROC superProc_ = nullptr;  // set for subclassed controls

private:
    friend class Dialog;
    // Offers a message that `parent` received from a child control of ours to that control's
    // object, as ReflectBase + msg; true with *result set when the control handled it. Only the
    // layer's dispatch calls it, once per message.
    static bool ReflectToChild(HWND parent, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Counts a message of ours being handled for as long as it lives; the last one to end runs
    // the final messages that fell due meanwhile.
    class Dispatch {
    public:
        Dispatch();
        ~Dispatch();
        Dispatch(const Dispatch&) = delete;
        Dispatch& operator=(const Dispatch&) = delete;
    };
    // WM_NCDESTROY has been handled: forget the window, and call OnFinalMessage when nothing of
    // ours is being handled any more.
    void WindowGone();
};

// Registers (once) and returns a window class with the given style, cursor, background brush and
// icon, named after them, as MFC's AfxRegisterWndClass does.
const char* RegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon);

}  // namespace win
