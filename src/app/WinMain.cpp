#include <windows.h>

#include "app/AquariumApp.h"
#include "view/Instrument.h"

// The one application object.
static AquariumApp theApp;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    instrument::ProgramStarted();
    return theApp.Main();
}
