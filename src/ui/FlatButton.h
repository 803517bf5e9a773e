#pragma once
// A push button drawn by itself: flat with a thin border while hovered or pressed (or raised 3D),
// an optional icon left of or above the caption, and separate colours for the normal and the
// hovered/pressed state. Drawn into a memory bitmap and copied to the screen in one step.
#include "Dpi.h"
#include "win/Window.h"

class FlatButton : public win::Window {
public:
    FlatButton();
    ~FlatButton() override;

    // Attaches to the button `id` of `parent` (a dialog) and makes it owner-drawn.
    bool SubclassDlgItem(int id, HWND parent);
    // Attaches to a button window.
    bool Attach(HWND button);

    // Loads the icons (the out icon is the in icon when outId is 0), keeps their size (given at
    // 96 DPI, scaled like everything else the button draws), redraws.
    void setIcon(int iconInId, int iconOutId, int width, int height);

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Draws the button as the owner-draw request describes (also usable on a memory DC).
    void Draw(const DRAWITEMSTRUCT& item);

    int iconAlign = 0;        // 0: icon left of the caption, 1: above it
    bool showText = true;
    bool drawBorder = true;   // thin border of a flat button when hovered or pressed
    bool flat = true;
    bool hovering = false;
    bool flatFocus = false;   // focus frame also when flat
    HICON iconIn = nullptr;   // hovered or pressed
    HICON iconOut = nullptr;  // otherwise
    unsigned char iconHeight = 0, iconWidth = 0;
    COLORREF bgOut, bgIn, fgOut, fgIn;
    DpiScale scale = DpiScale::System();  // insets, offsets and icon size

private:
    void OnMouseMove(int x, int y);
    void ReleaseIcons();
};
