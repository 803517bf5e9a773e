// The Fish Settings dialog run modally for real: the letter keys reach it whichever control has
// the focus, and opening and closing it leaves no window or GDI object behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "fish/FishSettingsDialog.h"
#include "settings/MemoryProfile.h"
#include "settings/Settings.h"

namespace {

// The dialog with a script run once it is up; the script posts what the user would do.
class ScriptedDialog : public FishSettingsDialog {
public:
    explicit ScriptedDialog(std::function<void(HWND)> s) : script(std::move(s)) {}
    BOOL OnInitDialog() override {
        const BOOL result = FishSettingsDialog::OnInitDialog();
        script(hwnd());
        return result;
    }
    std::function<void(HWND)> script;
};

class FishDialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        savedSettings = gSettings;
        file.set("Fish Number", "Fish0", "2");
        previous = SetAppProfile(&file);
    }
    void TearDown() override {
        SetAppProfile(previous);
        gSettings = savedSettings;
    }
    MemoryProfile file;
    Profile* previous = nullptr;
    Settings savedSettings;
};

void Key(HWND target, WPARAM key) { PostMessageA(target, WM_KEYDOWN, key, 1); }

TEST_F(FishDialogTest, LetterKeysActOnceWhicheverControlHasTheFocus) {
    ScriptedDialog dialog([](HWND h) {
        PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 100));  // species 6
        SetFocus(GetDlgItem(h, FishSettingsDialog::RandomButton));
        Key(GetDlgItem(h, FishSettingsDialog::RandomButton), 'A');
        Key(GetDlgItem(h, FishSettingsDialog::DeleteButton), 'A');
        Key(h, 'A');
        Key(GetDlgItem(h, FishSettingsDialog::ClearButton), 'D');
        PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
    });
    dialog.DoModal(nullptr);
    const FishRoster& roster = dialog.Grid().roster;
    EXPECT_EQ(roster.counts[0], 2);
    EXPECT_EQ(roster.counts[6], 2) << "three A keys and one D, each counted once";
    EXPECT_EQ(roster.total, 4);
    EXPECT_EQ(roster.selected, 6);
    EXPECT_TRUE(file.writes().empty()) << "Cancel saves nothing";

    ScriptedDialog second([](HWND h) {
        PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
        Key(GetDlgItem(h, FishSettingsDialog::AddButton), 'C');  // Clear keeps the selection
        Key(GetDlgItem(h, FishSettingsDialog::AddButton), 'A');
        PostMessageA(h, WM_CLOSE, 0, 0);  // the close box saves like OK
    });
    second.DoModal(nullptr);
    EXPECT_EQ(second.Grid().roster.total, 1);
    EXPECT_EQ(file.value("Fish Number", "Fish0"), "1");
    EXPECT_EQ(gSettings.fishCounts[0], 1);
    EXPECT_EQ(gSettings.fishCounts[6], 0);
}

TEST_F(FishDialogTest, TotalLabelShowsTheSumOfTheCountsAlsoAboveTheMaximum) {
    file.set("Fish Number", "Fish1", "20");  // a hand-edited file: 2 + 20 + 7 fish
    file.set("Fish Number", "Fish2", "7");
    std::string label;
    ScriptedDialog dialog([&label](HWND h) {
        char text[64] = "";
        GetDlgItemTextA(h, FishSettingsDialog::TotalLabel, text, sizeof text);
        label = text;
        PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
    });
    dialog.DoModal(nullptr);
    EXPECT_EQ(label, "Total: 29   (Max:20)");
}

// GDI objects of the process: the system's count, or where Wine answers 0, the live entries of
// its handle table (an object's index alone names it there).
DWORD GdiObjects() {
    const DWORD n = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (n) return n;
    DWORD count = 0;
    for (ULONG_PTR i = 1; i < 0x10000; ++i)
        if (GetObjectType(reinterpret_cast<HGDIOBJ>(i))) ++count;
    return count;
}

// USER objects: the system's count, or where Wine answers 0, this thread's top-level windows (a
// leaked control stays with its leaked dialog, the tooltips are top-level).
DWORD UserObjects() {
    const DWORD n = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
    if (n) return n;
    DWORD count = 0;
    EnumThreadWindows(GetCurrentThreadId(), [](HWND, LPARAM c) -> BOOL {
        ++*reinterpret_cast<DWORD*>(c);
        return TRUE;
    }, reinterpret_cast<LPARAM>(&count));
    return count;
}

TEST_F(FishDialogTest, TwoHundredOpeningsLeaveNothingBehind) {
    const DWORD gdiBase = GdiObjects();
    HBRUSH probe = CreateSolidBrush(RGB(1, 2, 3));
    ASSERT_EQ(GdiObjects(), gdiBase + 1) << "the GDI count sees one new object";
    DeleteObject(probe);

    auto cycle = [] {
        ScriptedDialog dialog([](HWND h) {
            // Painted with a selection (the ellipse), then cancelled. Left hidden: mapping a
            // window on the X server costs more than everything else here.
            SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 100));
            SendMessageA(h, WM_PAINT, 0, 0);
            PostMessageA(h, WM_COMMAND, IDCANCEL, 0);
        });
        return dialog.DoModal(nullptr);
    };
    ASSERT_EQ(cycle(), IDCANCEL);  // the first opening loads classes and caches once
    const DWORD gdiBefore = GdiObjects(), userBefore = UserObjects();
    for (int i = 0; i < 200; ++i) ASSERT_EQ(cycle(), IDCANCEL);
    const DWORD gdiAfter = GdiObjects(), userAfter = UserObjects();
    EXPECT_EQ(gdiAfter, gdiBefore);
    EXPECT_EQ(userAfter, userBefore);
}

}  // namespace
