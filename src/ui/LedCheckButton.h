#pragma once
// A two-state check button drawn as a small round lamp (green on, dark green off) or a pair of
// icons beside a one-line caption, highlighted while the mouse is over it. A click toggles it
// first and then tells the parent with WM_COMMAND (control id, no window handle), so the parent's
// command handler already sees the new state.
#include "Dpi.h"
#include "win/Window.h"

class LedCheckButton : public win::Window {
public:
    LedCheckButton() = default;
    ~LedCheckButton() override;

    // Attaches to the button `id` of `parent` (a dialog) and makes it owner-drawn.
    bool SubclassDlgItem(int id, HWND parent);
    bool Attach(HWND button);

    void setCheck(bool on, bool redraw = true);
    bool getCheck() const { return isOn; }
    // Both icons from the resources, sized from their icon information (above 100 % made at their
    // own size scaled); dropped when unreadable.
    void setIcons(int onId, int offId);
    void setColours(COLORREF on, COLORREF off);

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Draw(const DRAWITEMSTRUCT& item);

    DWORD style = 0;  // the window style at attach time, with the owner-draw type
    bool hovering = false;
    bool isOn = false;
    bool pressed = false, focused = false, disabled = false;
    int ledSize = 15;  // at 96 DPI; the lamp, insets and icons scale with `scale`
    DpiScale scale = DpiScale::System();
    COLORREF onColour = RGB(0, 255, 0);
    COLORREF offColour = RGB(0, 127, 0);
    HICON iconOn = nullptr, iconOff = nullptr;
    int iconOnWidth = 0, iconOnHeight = 0, iconOffWidth = 0, iconOffHeight = 0;

private:
    void OnMouseMove(int x, int y, bool leftHeld);
    void ReleaseIcons();
};
