#pragma once
// The Aquarium Settings dialog (template 182): sound, bubble count, fog and light sliders, the
// light colour modes, the view sliders and a set of hidden controls that carry the remaining keys
// of "Aquarium Settings" through loading and saving. There is no apply step: every 100 ms the
// dialog saves the section and hands the values to the running scene (StoreSettings), and the
// close box saves once more. Enter and Escape close it without a last save.
#include <string>

#include "settings/AquariumSectionWriter.h"
#include "settings/Settings.h"
#include "ui/ColourSlider.h"
#include "ui/FlatButton.h"
#include "ui/LedCheckButton.h"
#include "win/Dialog.h"

class AquariumSettingsDialog : public win::Dialog {
public:
    AquariumSettingsDialog();

    // Control ids of template 182.
    enum : int {
        IdAbout = 1004, IdAboutIcon = 1005, IdBubbles = 1009, IdSound = 1010, IdFog = 1011,
        IdShowLights = 1012, IdFrontFix = 1013, IdPlay = 1014, IdFrontColor = 1015, IdBackColor = 1016,
        IdFrontColor1 = 1017, IdFrontColor2 = 1018, IdBackColor1 = 1019, IdBackColor2 = 1020,
        IdFrontGradual = 1021, IdFrontAuto = 1022, IdBackFix = 1023, IdBackGradual = 1024,
        IdBackAuto = 1025, IdShowWater = 1026, IdShowTerra = 1027, IdLockFront = 1028,
        IdLockBack = 1029, IdLight = 1030, IdReload = 1031, IdSave = 1032, IdPreview0 = 1033,
        IdPreview2 = 1034, IdPrevious = 1035, IdNext = 1036, IdWebAddress = 1037, IdPreview1 = 1038,
        IdPreview3 = 1039, IdAutoViews = 1040, IdLeftRight = 1041, IdNearFar = 1042,
    };
    static constexpr int TemplateId = 182;
    static constexpr UINT_PTR SaveTimer = 1;
    static constexpr UINT SavePeriodMs = 100;

    // Reads "Aquarium Settings" into the controls and members ("R").
    void LoadFromFile();
    // Writes "Aquarium Settings" (the keys whose text changed since the last save; all of them the
    // first time) and hands the same values to StoreSettings with both phases 0 ("W").
    void Save();
    // The values the next save writes, phases included.
    Settings CurrentValues() const;

    // Number of keys the last Save wrote.
    int LastKeysWritten() const { return lastKeysWritten_; }

    // Members saved into the Settings fields of the same names.
    int volume = 32767;
    int bubbleSetting = 100;
    int fogDensity = 12;
    int lightIntensity = 50;
    int autoViews = 0;
    int viewLeftRight = 0;
    int viewNearFar = 0;
    COLORREF frontColor = 0, frontColor1 = 0, frontColor2 = 0;
    COLORREF backColor = 0, backColor1 = 0, backColor2 = 0;
    int backgroundVariant = 0;

protected:
    BOOL OnInitDialog() override;
    INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void AttachControls();
    void ScalePreviews();
    void OnTimerTick();
    void OnVScroll();
    void OnHScroll();
    void OnCommand(int id, int code);
    // Checks `chosen` and unchecks the other boxes of its group of three.
    void SelectMode(LedCheckButton* const group[3], LedCheckButton& chosen);
    void SelectFrontMode(LedCheckButton& chosen);
    void SelectBackMode(LedCheckButton& chosen);
    // Runs the colour chooser owned by this dialog; true with `colour` set only on OK.
    bool ChooseColour(COLORREF& colour);
    void OnSwatch(int id);
    void ShowPreview();
    void CenterOverOwner();
    int SliderPos(int id) const;
    void SetSliderPos(int id, int pos);
    ColourSwatch* Swatch(int id);

    ColourSlider soundSlider, bubbleSlider, fogSlider, lightSlider;
    LedCheckButton frontFix, frontGradual, frontAuto, lockFront;
    LedCheckButton backFix, backGradual, backAuto, lockBack;
    LedCheckButton showWater, showLights, showTerra;
    ColourSwatch frontColorSwatch, frontColor1Swatch, frontColor2Swatch;
    ColourSwatch backColorSwatch, backColor1Swatch, backColor2Swatch;
    FlatButton webAddress, previousButton, nextButton, aboutButton;

    AquariumSectionWriter writer_;
    int lastKeysWritten_ = 0;
    bool choosing_ = false;  // a colour chooser is open
};
