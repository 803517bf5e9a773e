#pragma once
// The Fish Settings dialog: the 20 species in a grid with their counts, a selected species, Add,
// Delete, Random and Clear, and the running total. It saves the working roster to the settings
// file and into the live roster every half second, so the tank behind it follows at once.
#include "fish/FishGrid.h"
#include "ui/FlatButton.h"
#include "ui/HyperlinkLabel.h"
#include "win/Dialog.h"

class FishSettingsDialog : public win::Dialog {
public:
    enum { TemplateId = 102 };
    enum Control {
        AddButton = 1007,
        DeleteButton = 1008,
        RandomButton = 1009,
        ClearButton = 1010,
        WebLink = 1037,
        TotalLabel = 1001,
    };
    static constexpr COLORREF TotalText = RGB(0, 0, 255);
    static constexpr COLORREF TotalBackground = RGB(255, 255, 239);

    FishSettingsDialog();
    ~FishSettingsDialog() override;

    const FishGrid& Grid() const { return grid; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // A, D, R and C (either case) from any control of the dialog; true when consumed.
    bool OnLetterKey(WPARAM key);
    static LRESULT CALLBACK KeyFilter(int code, WPARAM wParam, LPARAM lParam);
    void Apply(const Repaint& repaint);
    void OnPaint();
    void Finish();

    FishGrid grid;
    FlatButton buttons[6];
    HyperlinkLabel link;
    HBITMAP picture = nullptr;
    HFONT numberFont = nullptr;  // above 100 %: the default font in its own proportions
    HHOOK keyHook = nullptr;
    static FishSettingsDialog* active;
};
