#include <windows.h>

#include "Instrument.h"
#include "app/AquariumApp.h"
#include "saver/SaverArgs.h"

// The one application object.
static AquariumApp theApp;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
    instrument::ProgramStarted();
    // The same program is the desktop aquarium (.exe) and the screen saver (.scr).
    char path[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const saver::Args args = saver::ParseArgs(commandLine, saver::IsScrPath(path));
    saver::SetCurrentMode(args.mode);
    theApp.SetArgs(args);
    return theApp.Main();
}
