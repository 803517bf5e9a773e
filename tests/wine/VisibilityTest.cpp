// Whether anyone can see the frame, from the messages Windows sends it: minimised, locked, the
// display off, alone or together, and the messages that must change nothing.
#include <gtest/gtest.h>

#include <cstring>

#include "app/Visibility.h"

namespace {

// A display-state notification as Windows lays it out: the GUID, the data length, the data.
struct DisplaySetting {
    GUID guid;
    DWORD length;
    DWORD state;
};

enum Event {
    Minimise, Restore, Maximise, MaxHide, Lock, Unlock, Logon, ConsoleDisconnect,
    ConsoleOff, ConsoleOn, ConsoleDimmed, MonitorOff, MonitorOn, OtherSettingOff, ShortDataOff,
    Suspend, NoSetting,
};

DisplaySetting setting;

bool Send(Visibility& v, Event e) {
    const GUID other = {0x5d3e9a59, 0xe9d5, 0x4b00, {0xa6, 0xbd, 0xff, 0x34, 0xff, 0x51, 0x65, 0x48}};  // AC/DC
    const auto display = [&](const GUID& guid, DWORD state, DWORD length = sizeof(DWORD)) {
        setting = {guid, length, state};
        return v.OnMessage(WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(&setting));
    };
    switch (e) {
    case Minimise: return v.OnMessage(WM_SIZE, SIZE_MINIMIZED, 0);
    case Restore: return v.OnMessage(WM_SIZE, SIZE_RESTORED, MAKELPARAM(800, 600));
    case Maximise: return v.OnMessage(WM_SIZE, SIZE_MAXIMIZED, MAKELPARAM(1024, 768));
    case MaxHide: return v.OnMessage(WM_SIZE, SIZE_MAXHIDE, 0);
    case Lock: return v.OnMessage(WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK, 1);
    case Unlock: return v.OnMessage(WM_WTSSESSION_CHANGE, WTS_SESSION_UNLOCK, 1);
    case Logon: return v.OnMessage(WM_WTSSESSION_CHANGE, WTS_SESSION_LOGON, 1);
    case ConsoleDisconnect: return v.OnMessage(WM_WTSSESSION_CHANGE, WTS_CONSOLE_DISCONNECT, 1);
    case ConsoleOff: return display(Visibility::ConsoleDisplayState, 0);
    case ConsoleOn: return display(Visibility::ConsoleDisplayState, 1);
    case ConsoleDimmed: return display(Visibility::ConsoleDisplayState, 2);
    case MonitorOff: return display(Visibility::MonitorPowerOn, 0);
    case MonitorOn: return display(Visibility::MonitorPowerOn, 1);
    case OtherSettingOff: return display(other, 0);
    case ShortDataOff: return display(Visibility::ConsoleDisplayState, 0, 2);
    case Suspend: return v.OnMessage(WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    case NoSetting: return v.OnMessage(WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, 0);
    }
    return false;
}

struct Step {
    Event event;
    bool changes;   // whether the message turned seen into unseen or back
    bool hidden;    // afterwards
};

}  // namespace

TEST(Visibility, EachReasonHidesUntilItsOwnEndAndTheyAddUp) {
    const struct {
        const char* name;
        std::vector<Step> steps;
    } cases[] = {
        {"minimised, then restored or maximised", {{Minimise, true, true}, {Restore, true, false},
                                                    {Minimise, true, true}, {Maximise, true, false}}},
        {"locked", {{Lock, true, true}, {Lock, false, true}, {Unlock, true, false}, {Unlock, false, false}}},
        {"display off, dimmed still seen", {{ConsoleOff, true, true}, {ConsoleDimmed, true, false},
                                            {ConsoleOff, true, true}, {ConsoleOn, true, false}}},
        {"the monitor of Windows 7", {{MonitorOff, true, true}, {MonitorOn, true, false}}},
        {"restored while locked stays hidden", {{Minimise, true, true}, {Lock, false, true},
                                                {Restore, false, true}, {Unlock, true, false}}},
        {"unlocked with the display off stays hidden", {{Lock, true, true}, {ConsoleOff, false, true},
                                                        {Unlock, false, true}, {ConsoleOn, true, false}}},
        {"all three", {{ConsoleOff, true, true}, {Lock, false, true}, {Minimise, false, true},
                       {ConsoleOn, false, true}, {Unlock, false, true}, {Maximise, true, false}}},
        {"what is not about being seen", {{MaxHide, false, false}, {Logon, false, false},
                                          {ConsoleDisconnect, false, false}, {OtherSettingOff, false, false},
                                          {ShortDataOff, false, false}, {Suspend, false, false},
                                          {NoSetting, false, false}}},
        {"... nor ends a spell", {{Lock, true, true}, {Logon, false, true}, {OtherSettingOff, false, true},
                                  {MaxHide, false, true}, {Unlock, true, false}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Visibility v;
        for (size_t i = 0; i < c.steps.size(); ++i) {
            SCOPED_TRACE(i);
            EXPECT_EQ(Send(v, c.steps[i].event), c.steps[i].changes);
            EXPECT_EQ(v.Hidden(), c.steps[i].hidden);
        }
    }
}

// Under Wine the registrations are stubs or fail; either way the window lives on, messages still
// count, and Unwatch (also twice, also by the destructor) undoes whatever was done.
TEST(Visibility, WatchingARealWindowAndLettingGo) {
    HWND window = CreateWindowExA(0, "STATIC", "watched", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(window, nullptr);
    {
        Visibility v;
        v.Watch(window);
        v.Watch(window);  // again: the first registration is undone first
        EXPECT_TRUE(Send(v, Lock));
        EXPECT_TRUE(IsWindow(window));
        v.Unwatch();
        v.Unwatch();
        v.Watch(window);
    }
    EXPECT_TRUE(DestroyWindow(window));
}
