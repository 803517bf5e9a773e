#pragma once
// The screen-saver command line, as Windows passes it to a .scr:
//   /s                 run as the screen saver
//   /p HWND, /p:HWND   draw the preview inside window HWND (the Screen Saver settings' monitor)
//   /c, /c:HWND        the Aquarium Settings dialog, owned by HWND when given
// '-' may stand for '/', letters in either case. With no argument the .exe starts the plain
// aquarium and the .scr shows the settings (that is how Windows' "Settings" button reaches it).
#include <cstdint>
#include <string>

namespace saver {

enum class RunMode {
    Plain,      // the desktop aquarium, as started without arguments
    Saver,      // /s
    Preview,    // /p
    Configure,  // /c, or a .scr without arguments
    Unknown,    // anything else: tell the user what is accepted
};

struct Args {
    RunMode mode = RunMode::Plain;
    // The window given with /p or /c; 0 when none was given or it was not a number.
    std::uintptr_t window = 0;
    // The command line as given, for telling the user what was not understood.
    std::string commandLine;
};

// Parses the command line after the program name (WinMain's lpCmdLine). `startedAsScr` tells
// whether the program file ends in ".scr".
Args ParseArgs(const char* commandLine, bool startedAsScr);

// Whether a program path names a screen saver file (ends in ".scr", any case).
bool IsScrPath(const std::string& path);

// The text listing the accepted arguments, shown for an unknown one.
const char* UsageText();

// The mode this process runs in, for the parts that behave differently in the saver modes
// (the preview plays no sound, opens no dialog and writes no settings).
RunMode CurrentMode();
void SetCurrentMode(RunMode mode);

}  // namespace saver
