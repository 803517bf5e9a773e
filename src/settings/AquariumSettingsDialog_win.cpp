#include "settings/AquariumSettingsDialog.h"

#include <commctrl.h>
#include <commdlg.h>

#include "DeviceVolume.h"
#include "Dpi.h"
#include "settings/Profile.h"
#include "settings/SettingsFile.h"

namespace {

constexpr COLORREF Green = 0x0000FF00;
constexpr COLORREF White = 0x00FFFFFF;
constexpr int IconLampOn = 184, IconLampOff = 183, IconAbout = 138;

// The chooser's sixteen custom colours, kept for the whole run as the system dialog expects.
COLORREF customColours[16] = {White, White, White, White, White, White, White, White,
                              White, White, White, White, White, White, White, White};

bool IsOne(const std::string& text) { return ParseProfileInt(text) == 1; }

}  // namespace

AquariumSettingsDialog::AquariumSettingsDialog() : win::Dialog(TemplateId) {
    // The template's trackbars need their window class, whoever opens the dialog.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
}

void AquariumSettingsDialog::AttachControls() {
    soundSlider.SubclassDlgItem(IdSound, hwnd_);
    bubbleSlider.SubclassDlgItem(IdBubbles, hwnd_);
    fogSlider.SubclassDlgItem(IdFog, hwnd_);
    lightSlider.SubclassDlgItem(IdLight, hwnd_);
    frontFix.SubclassDlgItem(IdFrontFix, hwnd_);
    frontGradual.SubclassDlgItem(IdFrontGradual, hwnd_);
    frontAuto.SubclassDlgItem(IdFrontAuto, hwnd_);
    lockFront.SubclassDlgItem(IdLockFront, hwnd_);
    backFix.SubclassDlgItem(IdBackFix, hwnd_);
    backGradual.SubclassDlgItem(IdBackGradual, hwnd_);
    backAuto.SubclassDlgItem(IdBackAuto, hwnd_);
    lockBack.SubclassDlgItem(IdLockBack, hwnd_);
    showWater.SubclassDlgItem(IdShowWater, hwnd_);
    showLights.SubclassDlgItem(IdShowLights, hwnd_);
    showTerra.SubclassDlgItem(IdShowTerra, hwnd_);
    frontColorSwatch.SubclassDlgItem(IdFrontColor, hwnd_);
    frontColor1Swatch.SubclassDlgItem(IdFrontColor1, hwnd_);
    frontColor2Swatch.SubclassDlgItem(IdFrontColor2, hwnd_);
    backColorSwatch.SubclassDlgItem(IdBackColor, hwnd_);
    backColor1Swatch.SubclassDlgItem(IdBackColor1, hwnd_);
    backColor2Swatch.SubclassDlgItem(IdBackColor2, hwnd_);
    webAddress.SubclassDlgItem(IdWebAddress, hwnd_);
    previousButton.SubclassDlgItem(IdPrevious, hwnd_);
    nextButton.SubclassDlgItem(IdNext, hwnd_);
    aboutButton.SubclassDlgItem(IdAbout, hwnd_);
}

// The background previews are bitmaps of 13 x 5 pixels at 96 DPI: above it each static gets a copy
// of its bitmap at the scaled size (and takes that size); the one it loaded from the template goes.
void AquariumSettingsDialog::ScalePreviews() {
    const DpiScale scale = DpiScale::System();
    if (scale.isDesign()) return;
    for (int id : {IdPreview0, IdPreview1, IdPreview2, IdPreview3}) {
        HANDLE original = reinterpret_cast<HANDLE>(SendDlgItemMessageW(hwnd_, id, STM_GETIMAGE, IMAGE_BITMAP, 0));
        BITMAP bm = {};
        if (!original || !GetObjectW(original, sizeof bm, &bm)) continue;
        HANDLE larger = CopyImage(original, IMAGE_BITMAP, scale(bm.bmWidth), scale(bm.bmHeight), 0);
        if (!larger) continue;
        if (HGDIOBJ old = reinterpret_cast<HGDIOBJ>(
                SendDlgItemMessageW(hwnd_, id, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(larger))))
            DeleteObject(old);
    }
}

BOOL AquariumSettingsDialog::OnInitDialog() {
    AttachControls();
    ScalePreviews();

    // Ranges and start positions. The 32-bit range messages: the Sound range does not fit the
    // signed 16-bit halves of TBM_SETRANGE.
    struct Range {
        int id, max, pos;
    };
    const Range ranges[] = {{IdBubbles, 200, bubbleSetting}, {IdSound, 65535, volume},
                            {IdFog, 25, fogDensity},         {IdLight, 100, lightIntensity},
                            {IdLeftRight, 7000, 3500},       {IdNearFar, 2000, 1000}};
    for (const Range& r : ranges) {
        SendDlgItemMessageW(hwnd_, r.id, TBM_SETRANGEMIN, FALSE, 0);
        SendDlgItemMessageW(hwnd_, r.id, TBM_SETRANGEMAX, TRUE, r.max);
        SetSliderPos(r.id, r.pos);
    }

    CenterOverOwner();

    frontColorSwatch.SetColour(0);
    backColorSwatch.SetColour(White);
    frontColor1Swatch.SetColour(0);
    frontColor2Swatch.SetColour(0);
    backColor1Swatch.SetColour(0);
    backColor2Swatch.SetColour(0);

    frontGradual.setCheck(false);
    frontFix.setCheck(false);
    frontAuto.setCheck(true);
    lockFront.setCheck(false);
    backGradual.setCheck(false);
    backFix.setCheck(false);
    backAuto.setCheck(true);
    lockBack.setCheck(false);
    showWater.setCheck(true);
    showLights.setCheck(true);
    showTerra.setCheck(true);
    for (LedCheckButton* mode : {&frontFix, &frontGradual, &frontAuto, &backFix, &backGradual, &backAuto})
        mode->setColours(Green, 0);
    for (LedCheckButton* box : {&lockFront, &lockBack, &showWater, &showLights, &showTerra})
        box->setIcons(IconLampOn, IconLampOff);

    LoadFromFile();
    ShowPreview();

    SetTimer(hwnd_, SaveTimer, SavePeriodMs, nullptr);

    aboutButton.setIcon(IconAbout, 0, 16, 16);
    return TRUE;
}

INT_PTR AquariumSettingsDialog::DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) {
    switch (msg) {
    case WM_TIMER:
        if (wParam != SaveTimer) break;
        OnTimerTick();
        return TRUE;
    case WM_VSCROLL:
        OnVScroll();
        return TRUE;
    case WM_HSCROLL: {
        const HWND from = reinterpret_cast<HWND>(lParam);
        if (from == Item(IdLeftRight) || from == Item(IdNearFar)) OnHScroll();
        return TRUE;
    }
    case WM_COMMAND:
        // OK and Cancel are done here. A lamp box's own click never comes here: the box toggles
        // and posts its command without a window handle, which does.
        if (Dialog::DialogProc(msg, wParam, lParam)) return TRUE;
        if (hwnd_) OnCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_CLOSE:
        // One last save; the default processing then ends the dialog through Cancel.
        Save();
        break;
    case WM_DESTROY:
        KillTimer(hwnd_, SaveTimer);
        // The preview statics loaded their bitmaps from the template themselves and do not free
        // them: take each one back and delete it, or every opening leaves four bitmaps behind.
        for (int id : {IdPreview0, IdPreview1, IdPreview2, IdPreview3})
            if (HGDIOBJ picture = reinterpret_cast<HGDIOBJ>(SendDlgItemMessageW(hwnd_, id, STM_SETIMAGE, IMAGE_BITMAP, 0)))
                DeleteObject(picture);
        break;
    default:
        break;
    }
    return Dialog::DialogProc(msg, wParam, lParam);
}

void AquariumSettingsDialog::OnTimerTick() {
    autoViews = IsDlgButtonChecked(hwnd_, IdAutoViews) == BST_CHECKED ? 1 : 0;
    if (autoViews) {
        SetSliderPos(IdLeftRight, currentViewLeftRight);
        SetSliderPos(IdNearFar, currentViewNearFar);
    }
    Save();
}

void AquariumSettingsDialog::OnVScroll() {
    volume = SliderPos(IdSound);
    bubbleSetting = SliderPos(IdBubbles);
    fogDensity = SliderPos(IdFog);
    lightIntensity = SliderPos(IdLight);
    ApplyDeviceVolume(volume);
}

void AquariumSettingsDialog::OnHScroll() {
    viewLeftRight = SliderPos(IdLeftRight);
    viewNearFar = SliderPos(IdNearFar);
    if (autoViews == 0) {
        currentViewNearFar = viewNearFar;
        currentViewLeftRight = viewLeftRight;
    }
}

void AquariumSettingsDialog::OnCommand(int id, int code) {
    if (code != BN_CLICKED) return;
    switch (id) {
    case IdFrontFix: SelectFrontMode(frontFix); break;
    case IdFrontGradual: SelectFrontMode(frontGradual); break;
    case IdFrontAuto: SelectFrontMode(frontAuto); break;
    case IdBackFix: SelectBackMode(backFix); break;
    case IdBackGradual: SelectBackMode(backGradual); break;
    case IdBackAuto: SelectBackMode(backAuto); break;
    case IdFrontColor: case IdFrontColor1: case IdFrontColor2:
    case IdBackColor: case IdBackColor1: case IdBackColor2:
        OnSwatch(id);
        break;
    case IdPrevious:
        if (backgroundVariant > 0) --backgroundVariant;
        ShowPreview();
        break;
    case IdNext:
        if (backgroundVariant < 3) ++backgroundVariant;
        ShowPreview();
        break;
    case IdReload:
        LoadFromFile();
        break;
    case IdSave:
        Save();
        break;
    default:
        break;  // the lock and show boxes toggle themselves; "about", "Play" do nothing
    }
}

void AquariumSettingsDialog::SelectMode(LedCheckButton* const group[3], LedCheckButton& chosen) {
    chosen.setCheck(true);
    for (int i = 0; i < 3; ++i)
        if (group[i] != &chosen && group[i]->getCheck()) group[i]->setCheck(false);
}

void AquariumSettingsDialog::SelectFrontMode(LedCheckButton& chosen) {
    LedCheckButton* const group[3] = {&frontFix, &frontGradual, &frontAuto};
    SelectMode(group, chosen);
}

void AquariumSettingsDialog::SelectBackMode(LedCheckButton& chosen) {
    LedCheckButton* const group[3] = {&backFix, &backGradual, &backAuto};
    SelectMode(group, chosen);
}

bool AquariumSettingsDialog::ChooseColour(COLORREF& colour) {
    // Owned by this dialog, which the chooser disables while it is open: a second click on a
    // swatch cannot stack another chooser on the first.
    if (choosing_) return false;
    choosing_ = true;
    CHOOSECOLORW cc = {};
    cc.lStructSize = sizeof cc;
    cc.hwndOwner = hwnd_;
    cc.rgbResult = 0;
    cc.lpCustColors = customColours;
    cc.Flags = 0;
    const bool ok = ChooseColorW(&cc) != FALSE;
    choosing_ = false;
    if (ok) colour = cc.rgbResult;
    return ok;
}

void AquariumSettingsDialog::OnSwatch(int id) {
    COLORREF chosen = 0;
    if (!ChooseColour(chosen) || !hwnd_) return;
    switch (id) {
    case IdFrontColor: frontColor = chosen; break;
    case IdFrontColor1: frontColor1 = chosen; break;
    case IdFrontColor2: frontColor2 = chosen; break;
    case IdBackColor: backColor = chosen; break;
    case IdBackColor1: backColor1 = chosen; break;
    case IdBackColor2: backColor2 = chosen; break;
    default: return;
    }
    Swatch(id)->SetColour(chosen);
    if (id == IdFrontColor) SelectFrontMode(frontFix);
    if (id == IdBackColor) SelectBackMode(backFix);
    if (id == IdBackColor1 || id == IdBackColor2) SelectBackMode(backGradual);
}

ColourSwatch* AquariumSettingsDialog::Swatch(int id) {
    switch (id) {
    case IdFrontColor: return &frontColorSwatch;
    case IdFrontColor1: return &frontColor1Swatch;
    case IdFrontColor2: return &frontColor2Swatch;
    case IdBackColor: return &backColorSwatch;
    case IdBackColor1: return &backColor1Swatch;
    default: return &backColor2Swatch;
    }
}

void AquariumSettingsDialog::ShowPreview() {
    if (backgroundVariant < 0 || backgroundVariant > 3) return;
    const int previews[4] = {IdPreview0, IdPreview1, IdPreview2, IdPreview3};
    for (int id : previews) ShowWindow(Item(id), SW_HIDE);
    ShowWindow(Item(previews[backgroundVariant]), SW_SHOW);
    EnableWindow(Item(IdNext), backgroundVariant < 3);
    EnableWindow(Item(IdPrevious), backgroundVariant > 0);
}

void AquariumSettingsDialog::LoadFromFile() {
    Profile& file = AppProfile();
    auto read = [&file](const char* key) { return file.read(kAquariumSection, key); };
    auto readColour = [&](const char* key, COLORREF& member, ColourSwatch& swatch) {
        member = static_cast<COLORREF>(ParseProfileInt(read(key)));
        swatch.SetColour(member);
    };
    auto readSlider = [&](const char* key, int& member, int id) {
        member = ParseProfileInt(read(key));
        SetSliderPos(id, member);  // the trackbar clamps; the member keeps the file's value
    };

    showWater.setCheck(IsOne(read("Show Water")));
    showLights.setCheck(IsOne(read("Show Light")));
    showTerra.setCheck(IsOne(read("Show Terra")));
    if (IsOne(read("FRONT GUDING"))) SelectFrontMode(frontFix);
    readColour("FRONTCOLOR", frontColor, frontColorSwatch);
    if (IsOne(read("FRONT MANJIANBIAN"))) SelectFrontMode(frontGradual);
    readColour("FRONT COLOR1", frontColor1, frontColor1Swatch);
    readColour("FRONT COLOR2", frontColor2, frontColor2Swatch);
    if (IsOne(read("FRONT AUTOJIANBIAN"))) SelectFrontMode(frontAuto);
    lockFront.setCheck(IsOne(read("CHECK LOCKFORE")));
    frontCyclePhase = ParsePhase(read("LOCKFORE ROT"));
    if (IsOne(read("BACK GUDING"))) SelectBackMode(backFix);
    readColour("BACKCOLOR", backColor, backColorSwatch);
    if (IsOne(read("BACK MANJIANBIAN"))) SelectBackMode(backGradual);
    readColour("BACK COLOR1", backColor1, backColor1Swatch);
    readColour("BACK COLOR2", backColor2, backColor2Swatch);
    if (IsOne(read("BACK AUTOJIANBIAN"))) SelectBackMode(backAuto);
    lockBack.setCheck(IsOne(read("CHECK LOCKBACK")));
    backCyclePhase = ParsePhase(read("LOCKBACK ROT"));
    readSlider("YINLIANG", volume, IdSound);
    readSlider("QIPAONUM", bubbleSetting, IdBubbles);
    backgroundVariant = ParseProfileInt(read("BACKGROUND"));
    ShowPreview();
    readSlider("FOGNONGDU", fogDensity, IdFog);
    readSlider("LIGHTQIANGDU", lightIntensity, IdLight);
    autoViews = ParseProfileInt(read("CHECK VIEWS"));
    CheckDlgButton(hwnd_, IdAutoViews, autoViews == 1 ? BST_CHECKED : BST_UNCHECKED);
    readSlider("VIEWSLEFTRIGHT", viewLeftRight, IdLeftRight);
    readSlider("VIEWSNEARFAR", viewNearFar, IdNearFar);
    // The file may have been changed behind the last save: the next save writes every key.
    writer_.Reset();
}

Settings AquariumSettingsDialog::CurrentValues() const {
    Settings s = gSettings;  // keeps the fish counts, which StoreSettings leaves alone anyway
    s.showWater = showWater.getCheck() ? 1 : 0;
    s.showLight = showLights.getCheck() ? 1 : 0;
    s.showTerra = showTerra.getCheck() ? 1 : 0;
    s.frontFixed = frontFix.getCheck() ? 1 : 0;
    s.frontColor = frontColor;
    s.frontGradual = frontGradual.getCheck() ? 1 : 0;
    s.frontColor1 = frontColor1;
    s.frontColor2 = frontColor2;
    s.frontAuto = frontAuto.getCheck() ? 1 : 0;
    s.lockFront = lockFront.getCheck() ? 1 : 0;
    s.lockFrontPhase = frontCyclePhase;
    s.backFixed = backFix.getCheck() ? 1 : 0;
    s.backColor = backColor;
    s.backGradual = backGradual.getCheck() ? 1 : 0;
    s.backColor1 = backColor1;
    s.backColor2 = backColor2;
    s.backAuto = backAuto.getCheck() ? 1 : 0;
    s.lockBack = lockBack.getCheck() ? 1 : 0;
    s.lockBackPhase = backCyclePhase;
    s.volume = volume;
    s.bubbleSetting = bubbleSetting;
    s.backgroundVariant = backgroundVariant;
    s.fogDensity = fogDensity;
    s.lightIntensity = lightIntensity;
    s.autoViews = IsDlgButtonChecked(hwnd_, IdAutoViews) == BST_CHECKED ? 1 : 0;
    s.viewLeftRight = viewLeftRight;
    s.viewNearFar = viewNearFar;
    return s;
}

void AquariumSettingsDialog::Save() {
    Settings values = CurrentValues();
    lastKeysWritten_ = writer_.Save(AppProfile(), values);
    values.lockFrontPhase = 0.0f;
    values.lockBackPhase = 0.0f;
    StoreSettings(values);
}

int AquariumSettingsDialog::SliderPos(int id) const {
    return static_cast<int>(SendMessageW(Item(id), TBM_GETPOS, 0, 0));
}

void AquariumSettingsDialog::SetSliderPos(int id, int pos) {
    SendMessageW(Item(id), TBM_SETPOS, TRUE, pos);
}

void AquariumSettingsDialog::CenterOverOwner() {
    // Over the owner when it is visible and not minimised, else over the work area; kept inside
    // the work area either way.
    RECT area;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
    RECT centre = area;
    HWND owner = GetWindow(hwnd_, GW_OWNER);
    if (owner && IsWindowVisible(owner) && !IsIconic(owner)) GetWindowRect(owner, &centre);
    RECT self;
    GetWindowRect(hwnd_, &self);
    const int w = self.right - self.left, h = self.bottom - self.top;
    int x = (centre.left + centre.right) / 2 - w / 2;
    int y = (centre.top + centre.bottom) / 2 - h / 2;
    if (x + w > area.right) x = area.right - w;
    if (x < area.left) x = area.left;
    if (y + h > area.bottom) y = area.bottom - h;
    if (y < area.top) y = area.top;
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
