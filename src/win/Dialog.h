#pragma once
// Modal and modeless dialogs from resource templates, created as Unicode windows so that the
// templates' texts show as written whatever the system code page. A derived dialog overrides DialogProc
// (a switch that returns TRUE for what it handled) or the few named hooks.
#include "win/Window.h"

namespace win {

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

protected:
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

    // Returns TRUE when the message was handled; a result for the dialog manager goes through
    // SetResult. The default handles WM_INITDIALOG, IDOK/IDCANCEL and reflection to controls.
    virtual INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam);
    void SetResult(LRESULT result) { SetWindowLongPtrA(hwnd_, DWLP_MSGRESULT, result); }

private:
    static INT_PTR CALLBACK StaticDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    int templateId_;
    bool modal_ = false;
};

}  // namespace win
