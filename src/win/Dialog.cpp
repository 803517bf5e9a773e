#include "win/Dialog.h"

#include <commdlg.h>

#include <vector>

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
    ended_ = false;
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
    if (modal_) {
        ended_ = true;
        ::EndDialog(hwnd_, result);
    } else {
        DestroyWindow(hwnd_);
    }
}

void Dialog::CloseOwnedBy(HWND owner) {
    struct Found {
        HWND owner;
        std::vector<HWND> dialogs;
    } found = {owner, {}};
    // A modal dialog is open until it ends, shown or not yet; a modeless one while it shows.
    EnumThreadWindows(GetCurrentThreadId(), [](HWND h, LPARAM p) -> BOOL {
        auto* f = reinterpret_cast<Found*>(p);
        const auto* dialog = dynamic_cast<Dialog*>(FromHandle(h));
        if (dialog && h != f->owner && GetAncestor(h, GA_ROOTOWNER) == f->owner &&
            (dialog->IsModal() || IsWindowVisible(h)))
            f->dialogs.push_back(h);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&found));
    // Top-most first: a dialog opened from another closes before the one that opened it.
    for (HWND h : found.dialogs)
        if (IsWindow(h)) SendMessageW(h, WM_CLOSE, 0, 0);
}

INT_PTR CALLBACK Dialog::StaticDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<Dialog*>(FromHandle(hwnd));
    if (!self && msg == WM_INITDIALOG) {
        self = reinterpret_cast<Dialog*>(lParam);
        self->Attach(hwnd);
    }
    if (!self) return FALSE;

    const Dispatch dispatch;
    INT_PTR handled;
    LRESULT reflected = 0;
    if (ReflectToChild(hwnd, msg, wParam, lParam, &reflected)) {
        // Colour messages return the brush itself; everything else goes through DWLP_MSGRESULT.
        if (msg >= WM_CTLCOLORMSGBOX && msg <= WM_CTLCOLORSTATIC) {
            handled = static_cast<INT_PTR>(reflected);
        } else {
            self->SetResult(reflected);
            handled = TRUE;
        }
    } else {
        handled = self->DialogProc(msg, wParam, lParam);
    }
    if (msg == WM_NCDESTROY) {
        // Destroyed before it ended (its owner went): the modal loop looks at its window only when
        // a message arrives, and the going may have come as a sent message; wake it.
        if (self->modal_ && !self->ended_) PostMessageW(nullptr, WM_NULL, 0, 0);
        self->WindowGone();
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
        // Hidden, never destroyed, and saved once, as Cancel does (the dialog manager would go on
        // to a second Cancel).
        OnCancel();
        return TRUE;
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
