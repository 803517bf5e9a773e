#pragma once
// Modal and modeless dialogs from resource templates, created as Unicode windows so that the
// templates' texts show as written whatever the system code page. A derived dialog overrides DialogProc
// (a switch that returns TRUE for what it handled) or the few named hooks.
#include <cstddef>
#include <string>

#include "win/Window.h"

namespace win {

// The system's Open dialog for one file of the types in `filter` (pairs of NUL-terminated
// strings), with room for a path of `room` characters; "" when the user cancels.
std::string AskOpenFile(HWND owner, const char* filter, std::size_t room);

class Dialog : public Window {
public:
    explicit Dialog(int templateId) : templateId_(templateId) {}
    ~Dialog() override;

    // Runs the dialog modally; returns the value given to EndDialog, or -1 if it could not start.
    INT_PTR DoModal(HWND parent);
    // Creates the dialog modeless (shown or hidden as its template says); false on failure.
    bool CreateModeless(HWND parent);

    bool IsModal() const { return modal_; }
    int TemplateId() const { return templateId_; }

    // Ends a modal dialog with `result`; destroys a modeless one.
    void EndDialog(INT_PTR result);

    HWND Item(int id) const { return GetDlgItem(hwnd_, id); }

    // Closes every open dialog of ours that `owner` owns (directly or through another window):
    // the modal ones and the modeless ones that show, the top-most first, each as its close box
    // would, so each keeps what its close keeps. A window that is about to go calls this first:
    // its going would destroy them without a word.
    static void CloseOwnedBy(HWND owner);

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

    // Returns TRUE when the message was handled; a result for the dialog manager goes through
    // SetResult. Sees what the dialog's controls left to it (see Window.h). The default handles
    // WM_INITDIALOG and IDOK/IDCANCEL.
    virtual INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam);
    void SetResult(LRESULT result) { SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result); }

private:
    static INT_PTR CALLBACK StaticDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    int templateId_;
    bool modal_ = false;
    bool ended_ = false;  // a modal dialog's EndDialog has been called
};

// A modeless dialog that lives as long as its parent: created hidden, shown centred on request,
// and hidden (never destroyed) by Escape, Cancel or the close box, saving its state each time.
class StandingDialog : public Dialog {
public:
    using Dialog::Dialog;

    // Creates the dialog modeless and hidden; false on failure.
    bool CreateHidden(HWND parent);
    // Centres the dialog as CenterWindow does without a reference window (over its owner while
    // that is visible, else over the work area) and shows it.
    void ShowCentred();

protected:
    // Stores what the dialog holds; called whenever it is hidden.
    virtual void SaveOnHide() = 0;
    void OnOK() override {}
    void OnCancel() override;
    INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
};

}  // namespace win
