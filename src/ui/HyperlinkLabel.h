#pragma once
// A static text turned into a web link: underlined text in the link colour, a hand cursor, a
// tooltip with the address, the hover colour while the mouse is over it, and on a click the
// address opened in the web browser, after which the text takes the visited colour.
#include <string>

#include "win/Window.h"

class HyperlinkLabel : public win::Window {
public:
    HyperlinkLabel();
    ~HyperlinkLabel() override;

    // Attaches to the static `id` of `parent` (a dialog).
    bool SubclassDlgItem(int id, HWND parent);
    bool Attach(HWND label);

    void SetVisited(bool on);

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    COLORREF linkColour = 0x00EE0000;     // blue, before the first successful click
    COLORREF visitedColour = 0x008B1A55;  // purple, after it
    COLORREF hoverColour;                 // the highlight colour, while the mouse is over it
    bool hovering = false;
    bool visited = false;
    bool underline = true;
    bool adjustToFit = true;
    std::string url;  // the window text when empty at attach time
    HFONT font = nullptr;
    HCURSOR cursor = nullptr;
    HWND toolTip = nullptr;

    // The command line that opens `url` with the browser command registered for ".htm": the
    // command is cut at the first "%1" in quotation marks, else at the first %1, and the
    // address follows after one space.
    static std::string BrowserCommand(const std::string& registered, const std::string& url);
    // The message shown when the address could not be opened (result code of the shell).
    static std::string ErrorText(int code);

private:
    void OnClick();
    void OnMouseMove(int x, int y);
    void Redraw();
    void FitToText();
    void LoadHandCursor();
    void Release();
    bool ownsCursor_ = false;
};
