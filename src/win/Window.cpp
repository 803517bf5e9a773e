#include "win/Window.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

namespace win {
namespace {
const char* const ObjectProp = "Nerith.Window";

// All of this lives on the one user-interface thread.
int dispatching = 0;               // window procedures of ours on the stack
std::vector<Window*> finalDue;     // windows gone whose OnFinalMessage waits for dispatching == 0

// The reflection under way: set when its control passes the message on instead of handling it.
struct Reflection {
    const Window* control;
    UINT msg;
    bool left;
};
Reflection* reflecting = nullptr;

// The messages a parent receives on behalf of a child control, which the layer reflects.
bool Reflectable(UINT msg) {
    switch (msg) {
    case WM_DRAWITEM: case WM_NOTIFY: case WM_COMMAND: case WM_HSCROLL: case WM_VSCROLL:
    case WM_CTLCOLORBTN: case WM_CTLCOLOREDIT: case WM_CTLCOLORDLG: case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC:
        return true;
    default:
        return false;
    }
}
}  // namespace

Window::Dispatch::Dispatch() { ++dispatching; }

Window::Dispatch::~Dispatch() {
    if (--dispatching > 0) return;
    // Nothing of ours is being handled: the windows that went meanwhile may finish now (a final
    // message that handles messages itself runs the rest when those end).
    while (dispatching == 0 && !finalDue.empty()) {
        Window* gone = finalDue.front();
        finalDue.erase(finalDue.begin());
        gone->OnFinalMessage();
    }
}

Window::~Window() {
    // The object goes before its window: detach so no message reaches a dead object.
    Detach();
    finalDue.erase(std::remove(finalDue.begin(), finalDue.end(), this), finalDue.end());
}

void Window::Attach(HWND hwnd) {
    hwnd_ = hwnd;
    SetPropA(hwnd, ObjectProp, this);
}

void Window::Detach() {
    if (!hwnd_) return;
    RemovePropA(hwnd_, ObjectProp);
    if (superProc_) SetWindowLongPtrA(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(superProc_));
    hwnd_ = nullptr;
    superProc_ = nullptr;
}

void Window::WindowGone() {
    Detach();
    finalDue.push_back(this);  // runs when the dispatch of this WM_NCDESTROY, or an outer one, ends
}

Window* Window::FromHandle(HWND hwnd) {
    return hwnd ? static_cast<Window*>(GetPropA(hwnd, ObjectProp)) : nullptr;
}

bool Window::Create(const char* className, const char* title, DWORD style, DWORD exStyle, int x,
                    int y, int width, int height, HWND parent, HMENU menuOrId) {
    HWND h = CreateWindowExA(exStyle, className, title, style, x, y, width, height, parent, menuOrId,
                             GetModuleHandleA(nullptr), this);
    return h != nullptr;
}

bool Window::Subclass(HWND hwnd) {
    if (!hwnd || FromHandle(hwnd)) return false;
    Attach(hwnd);
    superProc_ = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Window::StaticWindowProc)));
    return superProc_ != nullptr;
}

LRESULT CALLBACK Window::StaticWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    Window* self = FromHandle(hwnd);
    if (!self && msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        self = static_cast<Window*>(cs->lpCreateParams);
        if (self) self->Attach(hwnd);
    }
    if (!self) return DefWindowProcA(hwnd, msg, wParam, lParam);

    const Dispatch dispatch;
    LRESULT result = 0;
    if (!ReflectToChild(hwnd, msg, wParam, lParam, &result))
        result = self->WindowProc(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) self->WindowGone();
    return result;
}

LRESULT Window::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg >= ReflectBase && Reflectable(msg - ReflectBase)) {
        // A control's reflected message that the control leaves to its parent; the control's
        // own procedure never sees these.
        if (reflecting && reflecting->control == this && reflecting->msg == msg) reflecting->left = true;
        return 0;
    }
    return DefaultProc(msg, wParam, lParam);
}

LRESULT Window::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (superProc_) return CallWindowProcA(superProc_, hwnd_, msg, wParam, lParam);
    return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

bool Window::ReflectToChild(HWND parent, UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (!Reflectable(msg)) return false;
    HWND child = nullptr;
    switch (msg) {
    case WM_DRAWITEM:
        if (wParam != 0) child = reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem;  // 0: a menu
        break;
    case WM_NOTIFY:
        child = reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
        break;
    default:
        // Commands (0 for menus and accelerators), scrolls and colour requests name the control.
        child = reinterpret_cast<HWND>(lParam);
        break;
    }
    Window* control = child != parent ? FromHandle(child) : nullptr;  // a dialog asks its own colour
    if (!control) return false;
    Reflection reflection = {control, ReflectBase + msg, false};
    Reflection* outer = reflecting;
    reflecting = &reflection;
    *result = control->WindowProc(ReflectBase + msg, wParam, lParam);
    reflecting = outer;
    return !reflection.left;
}

const char* RegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
    static char names[16][64];
    static int used = 0;
    char name[64];
    std::snprintf(name, sizeof name, "Nerith:%x:%p:%p:%p", classStyle, static_cast<void*>(cursor),
                  static_cast<void*>(background), static_cast<void*>(icon));
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSA existing;
    for (int i = 0; i < used; ++i)
        if (std::strcmp(names[i], name) == 0) return names[i];
    if (used == 16) return nullptr;
    std::strcpy(names[used], name);
    if (!GetClassInfoA(instance, names[used], &existing)) {
        WNDCLASSA wc = {};
        wc.style = classStyle;
        wc.lpfnWndProc = &Window::StaticWindowProc;
        wc.hInstance = instance;
        wc.hIcon = icon;
        wc.hCursor = cursor;
        wc.hbrBackground = background;
        wc.lpszClassName = names[used];
        if (!RegisterClassA(&wc)) return nullptr;
    }
    return names[used++];
}

}  // namespace win
