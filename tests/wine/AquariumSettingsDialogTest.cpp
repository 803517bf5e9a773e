// The Aquarium Settings dialog on the real settings file, driven by messages to the real dialog.
#include <windows.h>
#include <commctrl.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "settings/AquariumSettingsDialog.h"
#include "settings/IniProfile.h"
#include "settings/SettingsFile.h"

namespace {

using D = AquariumSettingsDialog;

// The real file, recording which keys of "Aquarium Settings" were written.
class RecordingIni : public IniProfile {
public:
    void write(const char* section, const char* key, const char* value) override {
        keys.push_back(key);
        IniProfile::write(section, key, value);
    }
    std::vector<std::string> keys;
};

// Runs `step` from the message loop that is running `delay` ms from now (a modal one included).
std::function<void()> pendingStep;
void CALLBACK RunPendingStep(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    auto step = std::move(pendingStep);
    step();
}
void Later(UINT delay, std::function<void()> step) {
    pendingStep = std::move(step);
    SetTimer(nullptr, 0, delay, RunPendingStep);
}

// The visible dialogs of this thread that have an owner (the colour choosers).
std::vector<HWND> OwnedDialogs() {
    std::vector<HWND> found;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND w, LPARAM p) -> BOOL {
        wchar_t cls[16] = L"";
        GetClassNameW(w, cls, 16);
        if (IsWindowVisible(w) && lstrcmpW(cls, L"#32770") == 0 && GetWindow(w, GW_OWNER))
            reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&found));
    return found;
}

void Pump(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    MSG msg;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        Sleep(5);
    }
}

class SettingsDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        path = SettingsFilePath();
        hadFile = MoveFileExA(path.c_str(), (path + ".aside").c_str(), MOVEFILE_REPLACE_EXISTING);
        SetAppProfile(&ini);
        gSettings = Settings{};
        currentViewLeftRight = currentViewNearFar = 0;
    }
    void TearDown() override {
        SetAppProfile(nullptr);
        DeleteFileA(path.c_str());
        if (hadFile) MoveFileExA((path + ".aside").c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
        gSettings = Settings{};
    }
    // A file as the program leaves it after start-up, with some keys replaced.
    void PrepareFile(const std::vector<std::pair<const char*, std::string>>& keys) {
        LoadSettings(ini);
        for (const auto& k : keys) ini.write(kAquariumSection, k.first, k.second.c_str());
        ini.keys.clear();
    }
    std::string Key(const char* key) {
        char text[256] = "";
        GetPrivateProfileStringA(kAquariumSection, key, "<none>", text, sizeof text, path.c_str());
        return text;
    }
    void ExpectKeys(const std::vector<std::pair<const char*, const char*>>& keys) {
        for (const auto& k : keys) EXPECT_EQ(Key(k.first), k.second) << k.first;
    }
    static bool Checked(const D& d, int id) {
        return SendMessageW(d.Item(id), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
    static int Pos(const D& d, int id) { return static_cast<int>(SendMessageW(d.Item(id), TBM_GETPOS, 0, 0)); }
    // Moves a slider as a drag would end: the new position, then the scroll notification.
    static void Drag(const D& d, int id, int pos, UINT scrollMsg) {
        SendMessageW(d.Item(id), TBM_SETPOS, TRUE, pos);
        SendMessageW(d.hwnd(), scrollMsg, MAKEWPARAM(TB_ENDTRACK, 0), reinterpret_cast<LPARAM>(d.Item(id)));
    }

    RecordingIni ini;
    std::string path;
    bool hadFile = false;
};

}  // namespace

TEST_F(SettingsDialogTest, LoadsModesFromTheFileAndWritesTheForcedBackModesUnchanged) {
    PrepareFile({{"FRONT GUDING", "1"}, {"FRONT AUTOJIANBIAN", "1"}});
    D d;
    ASSERT_TRUE(d.CreateModeless(nullptr));
    // Every control of the template exists; only the visible part of the table shows.
    for (int id = 1004; id <= 1042; ++id) {
        if (id >= 1006 && id <= 1008) continue;
        EXPECT_NE(d.Item(id), nullptr) << id;
    }
    for (int id : {+D::IdSound, +D::IdFrontFix, +D::IdFrontColor, +D::IdLockFront, +D::IdAutoViews, +D::IdNearFar})
        EXPECT_TRUE(GetWindowLongW(d.Item(id), GWL_STYLE) & WS_VISIBLE) << id;
    for (int id : {+D::IdFrontGradual, +D::IdBackFix, +D::IdShowWater, +D::IdReload, +D::IdPreview1, IDOK})
        EXPECT_FALSE(GetWindowLongW(d.Item(id), GWL_STYLE) & WS_VISIBLE) << id;
    EXPECT_TRUE(GetWindowLongW(d.Item(D::IdPreview0), GWL_STYLE) & WS_VISIBLE);  // variant 0

    // The last mode key with 1 wins; the back modes and "Show" boxes take the forced values.
    for (auto box : {std::make_pair(+D::IdFrontAuto, true), {+D::IdFrontFix, false}, {+D::IdBackFix, true},
                     {+D::IdBackAuto, false}, {+D::IdShowWater, false}, {+D::IdShowTerra, true}})
        EXPECT_EQ(Checked(d, box.first), box.second) << box.first;

    Pump(250);
    ExpectKeys({{"BACK GUDING", "1"}, {"BACK AUTOJIANBIAN", "0"}, {"BACK MANJIANBIAN", "0"},
                {"BACKCOLOR", "0"}, {"Show Water", "0"}, {"FRONT GUDING", "0"}, {"FRONT AUTOJIANBIAN", "1"}});
    EXPECT_EQ(gSettings.backFixed, 1);
    EXPECT_EQ(gSettings.backAuto, 0);
}

TEST_F(SettingsDialogTest, OpenAndCloseRewritesEveryKeyOnceAndOnlyTheCloseBoxSavesAtTheEnd) {
    PrepareFile({{"LOCKFORE ROT", "0"}, {"LOCKBACK ROT", "12"}});
    {
        D modal;
        Later(350, [&] { PostMessageW(modal.hwnd(), WM_CLOSE, 0, 0); });  // after a few ticks
        EXPECT_EQ(modal.DoModal(nullptr), IDCANCEL);
        EXPECT_EQ(modal.hwnd(), nullptr);
    }
    // The first tick wrote all 27 keys in the file's order; later ticks and the close box found
    // nothing changed.
    ASSERT_EQ(ini.keys.size(), 27u);
    for (int i = 0; i < 27; ++i) EXPECT_EQ(ini.keys[i], kAquariumKeys[i]);
    ExpectKeys({{"LOCKFORE ROT", "0.000000"}, {"LOCKBACK ROT", "12.000000"}, {"YINLIANG", "32767"}});
    EXPECT_EQ(gSettings.lockBackPhase, 0.0f);  // the record never gets the phases

    // A change followed at once by Enter or Escape is not saved (the last tick's state is); the
    // close box saves it.
    const struct {
        UINT msg;
        WPARAM id;
        const char* saved;
    } ends[] = {{WM_COMMAND, IDOK, "100"}, {WM_COMMAND, IDCANCEL, "100"}, {WM_CLOSE, IDCANCEL, "7"}};
    for (const auto& end : ends) {
        D modal;
        Later(30, [&] {
            Drag(modal, D::IdBubbles, 7, WM_VSCROLL);
            SendMessageW(modal.hwnd(), end.msg, end.msg == WM_CLOSE ? 0 : end.id, 0);
        });
        EXPECT_EQ(modal.DoModal(nullptr), static_cast<INT_PTR>(end.id));
        EXPECT_EQ(Key("QIPAONUM"), end.saved) << end.msg << " " << end.id;
    }
}

// After the first tick a change is saved within a tick, alone: the sound at the top gives full
// volume at once. Auto views checked, the next tick undoes a drag of the view; unchecked, it stays.
TEST_F(SettingsDialogTest, SoundIsSavedAloneWithinATickAndAutoViewsUndoADrag) {
    PrepareFile({{"CHECK VIEWS", "1"}});
    currentViewLeftRight = 1234;
    currentViewNearFar = 321;
    waveOutSetVolume(reinterpret_cast<HWAVEOUT>(0), 0x10001000);
    D d;
    ASSERT_TRUE(d.CreateModeless(nullptr));
    Pump(150);
    ini.keys.clear();
    Drag(d, D::IdSound, 0, WM_VSCROLL);
    // Windows takes a device number as the volume handle; Wine 8 answers MMSYSERR_INVALHANDLE
    // for it, so there the device's volume cannot be looked at (nor set) this way.
    DWORD volume = 0;
    if (waveOutGetVolume(reinterpret_cast<HWAVEOUT>(0), &volume) == MMSYSERR_NOERROR)
        EXPECT_EQ(volume, 0xFFFFFFFFu);
    Pump(250);
    EXPECT_EQ(Key("YINLIANG"), "0");
    EXPECT_EQ(ini.keys, std::vector<std::string>{"YINLIANG"});
    EXPECT_EQ(gSettings.volume, 0);

    for (bool autoViews : {true, false}) {
        CheckDlgButton(d.hwnd(), D::IdAutoViews, autoViews ? BST_CHECKED : BST_UNCHECKED);
        Pump(120);
        Drag(d, D::IdLeftRight, 6000, WM_HSCROLL);
        Pump(120);
        EXPECT_EQ(Pos(d, D::IdLeftRight), autoViews ? 1234 : 6000) << autoViews;
        EXPECT_EQ(currentViewLeftRight, autoViews ? 1234 : 6000) << autoViews;
        EXPECT_EQ(Pos(d, D::IdNearFar), 321) << autoViews;
    }
    EXPECT_EQ(Key("CHECK VIEWS"), "0");
}

TEST_F(SettingsDialogTest, HostileValuesLoadWithoutHarmAndOutOfRangeSlidersKeepTheFileValue) {
    PrepareFile({{"LOCKFORE ROT", "nan"},
                 {"LOCKBACK ROT", "1e39"},
                 {"QIPAONUM", "1e39"},
                 {"YINLIANG", std::string(1000, '9')},
                 {"FRONTCOLOR", "-99999999999"},
                 {"BACKGROUND", "7"},
                 {"LIGHTQIANGDU", "500"}});
    D d;
    ASSERT_TRUE(d.CreateModeless(nullptr));
    EXPECT_EQ(Pos(d, D::IdLight), 100);  // the trackbar clamps
    EXPECT_EQ(Pos(d, D::IdSound), 65535);
    Pump(150);
    // The light keeps its out-of-range text until a slider moves.
    ExpectKeys({{"LOCKFORE ROT", "0.000000"}, {"LOCKBACK ROT", "0.000000"}, {"QIPAONUM", "1"},
                {"YINLIANG", "2147483647"}, {"FRONTCOLOR", "-2147483648"}, {"BACKGROUND", "7"},
                {"LIGHTQIANGDU", "500"}});
    Drag(d, D::IdFog, 3, WM_VSCROLL);
    Pump(120);
    ExpectKeys({{"LIGHTQIANGDU", "100"}, {"YINLIANG", "65535"}, {"FOGNONGDU", "3"}});
}

TEST_F(SettingsDialogTest, ColourChooserIsOwnedByTheDialogAndItsOkSelectsFixColour) {
    PrepareFile({{"FRONT GUDING", "0"}, {"FRONT AUTOJIANBIAN", "1"}});
    D d;
    ASSERT_TRUE(d.CreateModeless(nullptr));
    ShowWindow(d.hwnd(), SW_SHOW);
    ASSERT_TRUE(Checked(d, D::IdFrontAuto));
    HWND chooser = nullptr, owner = nullptr;
    BOOL dialogEnabled = TRUE;
    size_t choosers = 0;
    Later(100, [&] {
        if (OwnedDialogs().empty()) return;
        chooser = OwnedDialogs()[0];
        owner = GetWindow(chooser, GW_OWNER);
        dialogEnabled = IsWindowEnabled(d.hwnd());
        // A second click on a swatch while the chooser is open opens nothing.
        SendMessageW(d.hwnd(), WM_COMMAND, MAKEWPARAM(D::IdFrontColor1, BN_CLICKED),
                     reinterpret_cast<LPARAM>(d.Item(D::IdFrontColor1)));
        choosers = OwnedDialogs().size();
        SendMessageW(chooser, WM_COMMAND, IDOK, 0);
    });
    SendMessageW(d.hwnd(), WM_COMMAND, MAKEWPARAM(D::IdFrontColor, BN_CLICKED),
                 reinterpret_cast<LPARAM>(d.Item(D::IdFrontColor)));
    ASSERT_NE(chooser, nullptr);
    EXPECT_EQ(owner, d.hwnd());
    EXPECT_FALSE(dialogEnabled);
    EXPECT_EQ(choosers, 1u);
    EXPECT_EQ(d.frontColor, 0u);  // the chooser starts at black
    EXPECT_TRUE(Checked(d, D::IdFrontFix));
    EXPECT_FALSE(Checked(d, D::IdFrontAuto));
    Pump(120);
    ExpectKeys({{"FRONTCOLOR", "0"}, {"FRONT GUDING", "1"}});
}
