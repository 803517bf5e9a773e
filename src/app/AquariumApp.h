#pragma once
#include <memory>
#include <vector>

#include "saver/SaverArgs.h"
#include "win/App.h"

class AquariumView;
class CMainFrame;
class MonitorFrame;

// The application: refuses a second copy and creates the borderless main frame. Started as a
// screen saver it also runs the saver (/s), the preview (/p) and the settings (/c).
class AquariumApp : public win::App {
public:
    AquariumApp();
    ~AquariumApp() override;

    bool InitInstance() override;
    bool OnCommand(int id) override;
    bool PreTranslateMessage(MSG& msg) override;
    int ExitInstance() override;

    // The command line, parsed by WinMain before the program starts.
    void SetArgs(const saver::Args& args) { args_ = args; }

    // The registry key under HKEY_CURRENT_USER\Software that the application profile uses.
    const char* RegistryKey() const { return registryKey_; }

private:
    bool StartAquarium();
    // The saver on every further monitor: a window each, owned by the main frame.
    void CoverOtherMonitors(CMainFrame& frame);
    bool StartPreview();
    void RunSettings();
    void ShowUsage();
    // In the saver: whether an input message ends it.
    bool EndsSaver(const MSG& msg) const;

    const char* registryKey_ = nullptr;
    saver::Args args_;
    POINT saverStart_ = {};       // where the pointer was when the saver started
    bool saverEnding_ = false;
    AquariumView* preview_ = nullptr;
    UINT_PTR previewWatch_ = 0;   // the thread timer that looks for the preview's parent
    // The saver's windows on the other monitors; they go with the main frame, the objects here.
    std::vector<std::unique_ptr<MonitorFrame>> monitorFrames_;
};
