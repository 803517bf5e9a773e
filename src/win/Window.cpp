#include "win/Window.h"

#include <cstdio>
#include <cstring>

namespace win {
namespace {
const char* const ObjectProp = "Nerith.Window";
}

Window::~Window() {
    // The object goes before its window: detach so no message reaches a dead object.
    Detach();
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

    LRESULT result = self->WindowProc(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        self->Detach();
        self->OnFinalMessage();
    }
    return result;
}

LRESULT Window::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    LRESULT reflected = 0;
    if (ReflectToChild(msg, wParam, lParam, &reflected)) return reflected;
    return DefaultProc(msg, wParam, lParam);
}

LRESULT Window::DefaultProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (superProc_) return CallWindowProcA(superProc_, hwnd_, msg, wParam, lParam);
    return DefWindowProcA(hwnd_, msg, wParam, lParam);
}

bool Window::ReflectToChild(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    HWND child = nullptr;
    switch (msg) {
    case WM_DRAWITEM:
        if (wParam != 0) child = reinterpret_cast<DRAWITEMSTRUCT*>(lParam)->hwndItem;  // 0: a menu
        break;
    case WM_MEASUREITEM:
        break;  // controls are measured by their templates; menus by their owner
    case WM_NOTIFY:
        child = reinterpret_cast<NMHDR*>(lParam)->hwndFrom;
        break;
    case WM_COMMAND:
        child = reinterpret_cast<HWND>(lParam);  // 0 for menus and accelerators
        break;
    case WM_CTLCOLORBTN: case WM_CTLCOLOREDIT: case WM_CTLCOLORDLG: case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR: case WM_CTLCOLORSTATIC:
        child = reinterpret_cast<HWND>(lParam);
        break;
    case WM_HSCROLL: case WM_VSCROLL:
        child = reinterpret_cast<HWND>(lParam);
        break;
    default:
        return false;
    }
    Window* control = FromHandle(child);
    if (!control) return false;
    *result = control->WindowProc(ReflectBase + msg, wParam, lParam);
    // Commands and scrolls: a control that returns non-zero has consumed the message; one that
    // ignores it (result 0) leaves it to the parent as well.
    if (msg == WM_COMMAND || msg == WM_HSCROLL || msg == WM_VSCROLL) return *result != 0;
    return true;
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
