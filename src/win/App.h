#pragma once
// The application object: one static instance per program, started by WinMain.
#include <windows.h>

namespace win {

class App {
public:
    App();
    virtual ~App();
    App(const App&) = delete;
    App& operator=(const App&) = delete;

    static App* Current();

    // Creates the main window; false ends the program (after ExitInstance).
    virtual bool InitInstance() = 0;
    // The message loop; returns the exit status carried by WM_QUIT.
    virtual int Run();
    virtual int ExitInstance() { return exitCode_; }
    // Commands no window handled (the frame passes them on); true when handled.
    virtual bool OnCommand(int /*id*/) { return false; }
    // Sees every message the loop takes from the queue before it is dispatched; true drops it.
    virtual bool PreTranslateMessage(MSG& /*msg*/) { return false; }

    // The application name: string resource 57344, as the framework takes it.
    const char* AppName();

    HWND MainWindow() const { return mainWindow_; }
    void SetMainWindow(HWND hwnd) { mainWindow_ = hwnd; }

    // The whole program: InitInstance, Run, ExitInstance.
    int Main();

protected:
    HWND mainWindow_ = nullptr;
    int exitCode_ = 0;
    char name_[128] = {};
};

}  // namespace win
