#pragma once
// A trackbar that paints its own thumb (a red ellipse, a red and green checkerboard while pressed),
// a frame around the channel and two round end marks, through the reflected custom-draw
// notification. Position, range and scrolling stay the standard trackbar's.
#include "Dpi.h"
#include "win/Window.h"

#include <commctrl.h>

class ColourSlider : public win::Window {
public:
    ColourSlider();
    ~ColourSlider() override;

    bool SubclassDlgItem(int id, HWND parent);
    bool Attach(HWND trackbar);

    // Thumb colour; every other colour becomes green. Rebuilds both brushes.
    void SetColour(COLORREF colour);

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // One custom-draw stage; returns the custom-draw result code.
    LRESULT OnCustomDraw(NMCUSTOMDRAW& draw);

    COLORREF thumbColour = 0x000000FF;
    COLORREF thumbOutlineColour = 0x0000FF00;
    COLORREF channelShadowColour = 0x0000FF00;
    COLORREF channelLightColour = 0x0000FF00;
    COLORREF endMarkColour = 0x0000FF00;
    HBRUSH thumbBrush = nullptr;
    HBRUSH pressedBrush = nullptr;
    DpiScale scale = DpiScale::System();  // end marks, outlines and the channel frame

private:
    HBITMAP pattern_ = nullptr;  // the 8 x 8 checkerboard behind pressedBrush
};

// A button that shows one colour inside a white one-pixel frame (owner-drawn in its template).
class ColourSwatch : public win::Window {
public:
    bool SubclassDlgItem(int id, HWND parent);
    // Subclasses control `id` of `parent`; only when that succeeds the colour is stored.
    bool Attach(int id, HWND parent, COLORREF colour);
    void SetColour(COLORREF colour);  // stores it and invalidates the whole control
    COLORREF GetColour() const { return colour; }

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void Draw(const DRAWITEMSTRUCT& item);

    COLORREF colour = 0x000000FF;
    DpiScale scale = DpiScale::System();  // the frame's width
};
