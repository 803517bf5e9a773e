#include "win/Dialog.h"

#include <commdlg.h>

namespace win {

std::string AskOpenFile(HWND owner, const char* filter, std::size_t room) {
    std::string path(room, '\0');
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter;
    ofn.lpstrFile = &path[0];
    ofn.nMaxFile = static_cast<DWORD>(room);
    ofn.Flags = OFN_HIDEREADONLY | OFN_EXPLORER;
    if (!GetOpenFileNameA(&ofn)) return std::string();
    path.resize(path.find('\0'));
    return path;
}

Dialog::~Dialog() {
    if (hwnd_ && !modal_) DestroyWindow(hwnd_);
}

INT_PTR Dialog::DoModal(HWND parent) {
    modal_ = true;
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent,
                           &Dialog::StaticDialogProc, reinterpret_cast<LPARAM>(this));
}

bool Dialog::CreateModeless(HWND parent) {
    modal_ = false;
    return CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent,
                              &Dialog::StaticDialogProc, reinterpret_cast<LPARAM>(this)) != nullptr;
}

void Dialog::EndDialog(INT_PTR result) {
    if (!hwnd_) return;
    if (modal_) ::EndDialog(hwnd_, result);
    else DestroyWindow(hwnd_);
}

INT_PTR CALLBACK Dialog::StaticDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<Dialog*>(FromHandle(hwnd));
    if (!self && msg == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        self->Attach(hwnd);
    }
    if (!self) return FALSE;
    INT_PTR handled = self->DialogProc(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        self->Detach();
        self->OnFinalMessage();
    }
    return handled;
}

INT_PTR Dialog::DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_INITDIALOG:
        return OnInitDialog();
    case WM_COMMAND:
        if (lParam == 0 || HIWORD(wParam) == BN_CLICKED) {
            if (LOWORD(wParam) == IDOK) { OnOK(); return TRUE; }
            if (LOWORD(wParam) == IDCANCEL) { OnCancel(); return TRUE; }
        }
        break;
    default:
        break;
    }
    LRESULT reflected = 0;
    if (ReflectToChild(msg, wParam, lParam, &reflected)) {
        // Colour messages return the brush itself; everything else goes through DWLP_MSGRESULT.
        if (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC) return static_cast<INT_PTR>(reflected);
        SetResult(reflected);
        return TRUE;
    }
    return FALSE;
}

bool StandingDialog::CreateHidden(HWND parent) {
    if (!CreateModeless(parent)) return false;
    ShowWindow(hwnd_, SW_HIDE);
    return true;
}

void StandingDialog::ShowCentred() {
    if (!hwnd_) return;
    RECT area;
    HWND owner = GetWindow(hwnd_, GW_OWNER);
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &area);
    else SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
    RECT own;
    GetWindowRect(hwnd_, &own);
    const int w = own.right - own.left, h = own.bottom - own.top;
    int x = area.left + (area.right - area.left - w) / 2;
    int y = area.top + (area.bottom - area.top - h) / 2;
    if (x < area.left) x = area.left;
    if (y < area.top) y = area.top;
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(hwnd_, SW_SHOW);
}

void StandingDialog::OnCancel() {
    ShowWindow(hwnd_, SW_HIDE);
    SaveOnHide();
}

INT_PTR StandingDialog::DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_CLOSE:
        // Hidden, never destroyed; the dialog manager then goes on to IDCANCEL, which saves again.
        ShowWindow(hwnd_, SW_HIDE);
        SaveOnHide();
        return FALSE;
    case WM_PAINT: {
        // Validated only: the background and the controls paint the face.
        PAINTSTRUCT ps;
        BeginPaint(hwnd_, &ps);
        EndPaint(hwnd_, &ps);
        return TRUE;
    }
    default:
        return Dialog::DialogProc(msg, wParam, lParam);
    }
}

}  // namespace win
