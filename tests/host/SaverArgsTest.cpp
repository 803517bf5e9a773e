// The screen-saver command line, in every form Windows and users hand it over.
#include <gtest/gtest.h>

#include <initializer_list>

#include "saver/SaverArgs.h"

using saver::RunMode;

namespace {

// Each line given to the .exe and to the .scr alike: only an empty line tells them apart.
void ExpectArgs(std::initializer_list<const char*> lines, RunMode mode, std::uintptr_t window = 0) {
    for (const char* line : lines)
        for (bool scr : {false, true}) {
            const saver::Args args = saver::ParseArgs(line, scr);
            EXPECT_EQ(args.mode, mode) << '"' << line << "\" scr " << scr;
            EXPECT_EQ(args.window, window) << '"' << line << "\" scr " << scr;
        }
}

TEST(SaverArgs, EveryFormOfTheCommandLine) {
    // No argument: the .exe is the desktop aquarium, the .scr opens its settings.
    for (const char* line : {"", "   \t ", static_cast<const char*>(nullptr)}) {
        EXPECT_EQ(saver::ParseArgs(line, false).mode, RunMode::Plain) << (line ? line : "(null)");
        EXPECT_EQ(saver::ParseArgs(line, true).mode, RunMode::Configure) << (line ? line : "(null)");
    }
    // The saver, in the spellings Windows and users use.
    ExpectArgs({"/s", "/S", "-s", "  /s  "}, RunMode::Saver);
    // The preview: HWND in decimal after a blank or a colon.
    ExpectArgs({"/p 1234", "/P:1234"}, RunMode::Preview, 1234);
    ExpectArgs({"-p\t4294967295"}, RunMode::Preview, 0xFFFFFFFFu);
    ExpectArgs({"/p -2"}, RunMode::Preview, static_cast<std::uintptr_t>(static_cast<std::intptr_t>(-2)));
    // A missing or bad window still means the preview (which then ends quietly).
    ExpectArgs({"/p", "/p:", "/p 12ab", "/p 0x1F", "/p 4294967296", "/p -"}, RunMode::Preview);
    // The settings, with or without an owner.
    ExpectArgs({"/c", "/c:junk"}, RunMode::Configure);
    ExpectArgs({"/C:987654"}, RunMode::Configure, 987654);
    ExpectArgs({"-c 42"}, RunMode::Configure, 42);
    // Garbage.
    ExpectArgs({"/x", "s", "/", "/save", "/s1", "/s:5", "/s 5", "/s /p 5", "/p 5 6", "/c:5 x", "/p1234",
                "hello world"},
               RunMode::Unknown);
}

TEST(SaverArgs, ScreenSaverFilesAreKnownByTheirExtension) {
    EXPECT_TRUE(saver::IsScrPath("C:\\Windows\\System32\\NerithScr.scr"));
    EXPECT_TRUE(saver::IsScrPath("C:\\WINDOWS\\NERITH~1.SCR"));
    EXPECT_FALSE(saver::IsScrPath("C:\\Games\\NerithScr.exe"));
    EXPECT_FALSE(saver::IsScrPath("C:\\scr\\NerithScr.exe"));
    EXPECT_FALSE(saver::IsScrPath("scr"));
}

}  // namespace
