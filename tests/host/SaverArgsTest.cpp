// The screen-saver command line, in every form Windows and users hand it over.
#include <gtest/gtest.h>

#include "saver/SaverArgs.h"

using saver::RunMode;

namespace {

struct Case {
    const char* line;
    bool scr;
    RunMode mode;
    std::uintptr_t window;
};

const Case Cases[] = {
    // No argument: the .exe is the desktop aquarium, the .scr opens its settings.
    {"", false, RunMode::Plain, 0},
    {"   \t ", false, RunMode::Plain, 0},
    {nullptr, false, RunMode::Plain, 0},
    {"", true, RunMode::Configure, 0},
    // The saver, in the spellings Windows and users use.
    {"/s", false, RunMode::Saver, 0},
    {"/S", true, RunMode::Saver, 0},
    {"-s", false, RunMode::Saver, 0},
    {"  /s  ", false, RunMode::Saver, 0},
    // The preview: HWND in decimal after a blank or a colon.
    {"/p 1234", true, RunMode::Preview, 1234},
    {"/P:1234", true, RunMode::Preview, 1234},
    {"-p\t4294967295", false, RunMode::Preview, 0xFFFFFFFFu},
    {"/p -2", false, RunMode::Preview, static_cast<std::uintptr_t>(static_cast<std::intptr_t>(-2))},
    // A missing or bad window still means the preview (which then ends quietly).
    {"/p", false, RunMode::Preview, 0},
    {"/p:", false, RunMode::Preview, 0},
    {"/p 12ab", false, RunMode::Preview, 0},
    {"/p 0x1F", false, RunMode::Preview, 0},
    {"/p 4294967296", false, RunMode::Preview, 0},
    {"/p -", false, RunMode::Preview, 0},
    // The settings, with or without an owner.
    {"/c", false, RunMode::Configure, 0},
    {"/C:987654", true, RunMode::Configure, 987654},
    {"-c 42", false, RunMode::Configure, 42},
    {"/c:junk", false, RunMode::Configure, 0},
    // Garbage.
    {"/x", false, RunMode::Unknown, 0},
    {"s", false, RunMode::Unknown, 0},
    {"/", false, RunMode::Unknown, 0},
    {"/save", false, RunMode::Unknown, 0},
    {"/s1", false, RunMode::Unknown, 0},
    {"/s:5", false, RunMode::Unknown, 0},
    {"/s 5", false, RunMode::Unknown, 0},
    {"/s /p 5", false, RunMode::Unknown, 0},
    {"/p 5 6", false, RunMode::Unknown, 0},
    {"/c:5 x", false, RunMode::Unknown, 0},
    {"/p1234", false, RunMode::Unknown, 0},
    {"hello world", true, RunMode::Unknown, 0},
};

}  // namespace

TEST(SaverArgs, EveryFormOfTheCommandLine) {
    for (const Case& c : Cases) {
        const saver::Args args = saver::ParseArgs(c.line, c.scr);
        EXPECT_EQ(args.mode, c.mode) << '"' << (c.line ? c.line : "(null)") << "\" scr " << c.scr;
        EXPECT_EQ(args.window, c.window) << '"' << (c.line ? c.line : "(null)") << '"';
    }
}

TEST(SaverArgs, ScreenSaverFilesAreKnownByTheirExtension) {
    EXPECT_TRUE(saver::IsScrPath("C:\\Windows\\System32\\NerithScr.scr"));
    EXPECT_TRUE(saver::IsScrPath("C:\\WINDOWS\\NERITH~1.SCR"));
    EXPECT_FALSE(saver::IsScrPath("C:\\Games\\NerithScr.exe"));
    EXPECT_FALSE(saver::IsScrPath("C:\\scr\\NerithScr.exe"));
    EXPECT_FALSE(saver::IsScrPath("scr"));
}
