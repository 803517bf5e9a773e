#include "app/AquariumApp.h"

#include <commctrl.h>

#include <cstdlib>

#include "app/MainFrame.h"
#include "resource.h"
#include "view/Instrument.h"
#include "win/Dialog.h"

bool AquariumApp::InitInstance() {
    // A copy that already runs owns this mutex: leave at once, before any window exists.
    HANDLE first = CreateMutexA(nullptr, TRUE, "FirstMyProject_Quill");
    if (first && GetLastError() == ERROR_ALREADY_EXISTS) std::exit(0);

    CreateMutexA(nullptr, TRUE, AppName());
    if (GetLastError() == ERROR_ALREADY_EXISTS) return false;
    // Neither handle is closed: they keep a second copy out for as long as this one runs.

    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    registryKey_ = "Local AppWizard-Generated Applications";

    auto* frame = new CMainFrame;
    if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW)) {
        delete frame;
        return false;
    }
    SetMainWindow(frame->hwnd());
    frame->CenterWindow();
    UpdateWindow(frame->hwnd());
    ShowWindow(frame->hwnd(), SW_SHOWMAXIMIZED);
    instrument::Mark("frame_shown");
#ifdef NERITH_INSTRUMENT
    RECT r;
    GetWindowRect(frame->hwnd(), &r);
    char line[96];
    wsprintfA(line, "shown %ld %ld %ld %ld zoomed %d", r.left, r.top, r.right, r.bottom, IsZoomed(frame->hwnd()));
    instrument::Note(line);
#endif
    return true;
}

bool AquariumApp::OnCommand(int id) {
    if (id != ID_APP_ABOUT) return false;
    win::Dialog about(IDD_ABOUTBOX);
    about.DoModal(MainWindow());
    return true;
}
