#include "app/MainFrame.h"

#include "win/App.h"
#include "win/Dialog.h"

namespace {
constexpr int PaneFirst = 0xE900;  // the child id of the frame's one pane
}

bool CMainFrame::LoadFrame(int resourceId, DWORD style, DWORD exStyle) {
    HINSTANCE instance = GetModuleHandleA(nullptr);
    char title[128] = "";
    LoadStringA(instance, resourceId, title, sizeof title);

    CREATESTRUCTA cs = {};
    cs.hInstance = instance;
    cs.hMenu = LoadMenuA(instance, MAKEINTRESOURCEA(resourceId));
    cs.style = style;
    cs.dwExStyle = exStyle;
    cs.lpszName = title;
    cs.x = cs.y = cs.cx = cs.cy = CW_USEDEFAULT;
    PreCreateWindow(cs);
    if (!cs.lpszClass) return false;
    if (!Create(cs.lpszClass, cs.lpszName, cs.style, cs.dwExStyle, cs.x, cs.y, cs.cx, cs.cy, nullptr,
                cs.hMenu))
        return false;
    // The taskbar and task switcher show the application icon.
    HICON icon = LoadIconA(instance, MAKEINTRESOURCEA(resourceId));
    if (icon) {
        SendMessageA(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
        SendMessageA(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    }
    return true;
}

void CMainFrame::PreCreateWindow(CREATESTRUCTA& cs) {
    if (cs.hMenu) {
        DestroyMenu(cs.hMenu);
        cs.hMenu = nullptr;
    }
    cs.dwExStyle &= ~static_cast<DWORD>(WS_EX_CLIENTEDGE);
    cs.lpszClass = win::RegisterWndClass(0, nullptr, nullptr, nullptr);
}

void CMainFrame::CenterWindow() {
    RECT window, screen;
    GetWindowRect(hwnd_, &window);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &screen, 0);
    const int w = window.right - window.left, h = window.bottom - window.top;
    SetWindowPos(hwnd_, nullptr, screen.left + (screen.right - screen.left - w) / 2,
                 screen.top + (screen.bottom - screen.top - h) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CMainFrame::OnCreate() {
    char temp[260];
    if (GetTempPathA(sizeof temp, temp) == 0) {
        MessageBoxA(hwnd_, "Error Find TempPath.", "ERROR", MB_OK);
        return 0;  // the frame lives on without a view
    }
    if (!view.CreateAsPane(hwnd_, PaneFirst)) return -1;

    // No caption, system menu, border, edge or menu bar: the view is all there is.
    LONG_PTR s = GetWindowLongPtrA(hwnd_, GWL_STYLE);
    s &= ~static_cast<LONG_PTR>(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    SetWindowLongPtrA(hwnd_, GWL_STYLE, s);
    s &= ~static_cast<LONG_PTR>(WS_BORDER);
    SetWindowLongPtrA(hwnd_, GWL_STYLE, s);
    LONG_PTR ex = GetWindowLongPtrA(hwnd_, GWL_EXSTYLE);
    SetWindowLongPtrA(hwnd_, GWL_EXSTYLE, ex & ~static_cast<LONG_PTR>(WS_EX_CLIENTEDGE));
    SetMenu(hwnd_, nullptr);
    visibility_.Watch(hwnd_);
    view.SetHidden(visibility_.Hidden());
    return 0;
}

bool CMainFrame::OnCmdMsg(int id) {
    if (view.hwnd() && view.OnCmdMsg(id)) return true;
    win::App* app = win::App::Current();
    return app && app->OnCommand(id);
}

LRESULT CMainFrame::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    if (visibility_.OnMessage(msg, wParam, lParam) && view.hwnd()) view.SetHidden(visibility_.Hidden());
    switch (msg) {
    case WM_CREATE:
        return OnCreate();
    case WM_SIZE:
        // The pane fills the client area; minimised, it keeps its size and its scene's layout.
        if (view.hwnd() && wParam != SIZE_MINIMIZED)
            MoveWindow(view.hwnd(), 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
    case WM_DESTROY:
        visibility_.Unwatch();
        break;
    case WM_SETFOCUS:
        if (view.hwnd()) SetFocus(view.hwnd());
        return 0;
    case WM_ERASEBKGND:
        if (view.hwnd()) return TRUE;  // the view paints everything
        break;
    case WM_COMMAND:
        if (lParam == 0 && OnCmdMsg(LOWORD(wParam))) return 0;
        break;
    case WM_CLOSE:
        // Closed from outside, perhaps while a dialog is open: the dialogs close first, as their
        // close boxes would, and keep what they keep then; the default then destroys the frame.
        win::Dialog::CloseOwnedBy(hwnd_);
        break;
    case WM_ENDSESSION:
        // The session ends and the process with it: the same close, at once.
        if (wParam) {
            win::Dialog::CloseOwnedBy(hwnd_);
            DestroyWindow(hwnd_);
        }
        return 0;
    default:
        break;
    }
    return Window::WindowProc(msg, wParam, lParam);
}

void CMainFrame::OnFinalMessage() {
    // The main window is gone: end the message loop, and the frame with its view.
    if (win::App* app = win::App::Current()) app->SetMainWindow(nullptr);
    PostQuitMessage(0);
    delete this;
}
