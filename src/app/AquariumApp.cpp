#include "app/AquariumApp.h"

#include <commctrl.h>

#include <cstdlib>
#include <string>

#include "Instrument.h"
#include "app/MainFrame.h"
#include "app/MonitorFrame.h"
#include "resource.h"
#include "settings/AquariumSettingsDialog.h"
#include "settings/IniProfile.h"
#include "settings/SettingsFile.h"
#include "view/AquariumView.h"
#include "win/Dialog.h"

namespace {

constexpr int SaverMoveSlack = 4;        // pixels the pointer may drift before the saver ends
constexpr UINT PreviewWatchMs = 250;     // how often the preview looks for its parent

// The preview's view: once its window is gone (with the parent, normally) the program ends.
class PreviewView : public AquariumView {
public:
    void OnFinalMessage() override { PostQuitMessage(0); }
};

// The settings file as the preview sees it: read, never written.
class ReadOnlyProfile : public Profile {
public:
    std::string read(const char* section, const char* key) override { return file_.read(section, key); }
    std::vector<std::pair<std::string, std::string>> entries(const char* section) override {
        return file_.entries(section);
    }
    void write(const char*, const char*, const char*) override {}

private:
    IniProfile file_;
};

bool IsInput(UINT msg) {
    return (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) || (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) ||
           (msg >= WM_NCMOUSEMOVE && msg <= WM_NCXBUTTONDBLCLK);
}

void InitControls() {
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
}

}  // namespace

AquariumApp::AquariumApp() = default;

AquariumApp::~AquariumApp() = default;

bool AquariumApp::InitInstance() {
    switch (args_.mode) {
    case saver::RunMode::Unknown:
        ShowUsage();
        exitCode_ = 2;
        return false;
    case saver::RunMode::Configure:
        RunSettings();
        return false;
    case saver::RunMode::Preview:
        return StartPreview();
    case saver::RunMode::Plain:
    case saver::RunMode::Saver:
        break;
    }
    return StartAquarium();
}

bool AquariumApp::StartAquarium() {
    const bool saver = args_.mode == saver::RunMode::Saver;
    if (saver) GetCursorPos(&saverStart_);

    // A copy that already runs owns this mutex: leave at once, before any window exists.
    HANDLE first = CreateMutexA(nullptr, TRUE, "FirstMyProject_Quill");
    if (first && GetLastError() == ERROR_ALREADY_EXISTS) std::exit(0);

    CreateMutexA(nullptr, TRUE, AppName());
    if (GetLastError() == ERROR_ALREADY_EXISTS) return false;
    // Neither handle is closed: they keep a second copy out for as long as this one runs.

    InitControls();
    registryKey_ = "Local AppWizard-Generated Applications";

    auto* frame = new CMainFrame;
    // The saver is topmost from its creation: made topmost later, Wine lets the hidden dialogs the
    // frame owns take the place above it and the frame loses the flag again.
    if (!frame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW, saver ? WS_EX_TOPMOST : 0)) {
        delete frame;
        return false;
    }
    SetMainWindow(frame->hwnd());
    frame->CenterWindow();
    UpdateWindow(frame->hwnd());
    ShowWindow(frame->hwnd(), SW_SHOWMAXIMIZED);
    if (saver) {
        // The saver stays above everything, the taskbar included, without a pointer: no sizing
        // border either, so the client area is exactly the screen.
        const HWND hwnd = frame->hwnd();
        SetWindowLongPtrA(hwnd, GWL_STYLE, GetWindowLongPtrA(hwnd, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_THICKFRAME));
        SetWindowPos(hwnd, nullptr, 0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN),
                     SWP_FRAMECHANGED | SWP_SHOWWINDOW | SWP_NOZORDER);
        CoverOtherMonitors(*frame);
        SetForegroundWindow(hwnd);
        ShowCursor(FALSE);
    }
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

void AquariumApp::CoverOtherMonitors(CMainFrame& frame) {
    if (!frame.view.hwnd()) return;  // the frame lives on without a view: nothing to accompany
    for (const RECT& monitor : OtherMonitors()) {
        auto other = std::make_unique<MonitorFrame>();
        if (other->Open(monitor, frame.hwnd(), frame.view)) monitorFrames_.push_back(std::move(other));
    }
}

bool AquariumApp::StartPreview() {
    // No mutexes, no sound, no message boxes, no settings written: the preview only shows.
    HWND parent = reinterpret_cast<HWND>(args_.window);
    exitCode_ = 1;  // a missing or bad window ends quietly with this
    if (!parent || !IsWindow(parent)) return false;
    static ReadOnlyProfile settingsFile;
    SetAppProfile(&settingsFile);
    preview_ = new PreviewView;
    if (!preview_->CreateInside(parent)) return false;
    previewWatch_ = SetTimer(nullptr, 0, PreviewWatchMs, nullptr);
    exitCode_ = 0;
    return true;
}

void AquariumApp::RunSettings() {
    InitControls();
    HWND owner = reinterpret_cast<HWND>(args_.window);
    if (owner && !IsWindow(owner)) owner = nullptr;
    LoadSettings();  // the live values the dialog shows beside the file's (the current views)
    AquariumSettingsDialog dialog;
    dialog.DoModal(owner);
    exitCode_ = 0;
}

void AquariumApp::ShowUsage() {
    std::string text = "Unknown command line: \"";
    text += args_.commandLine;
    text += "\"\r\n\r\n";
    text += saver::UsageText();
    MessageBoxA(nullptr, text.c_str(), AppName(), MB_OK | MB_ICONEXCLAMATION);
}

bool AquariumApp::EndsSaver(const MSG& msg) const {
    switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
        // Windows sends moves when the window shows and the pointer has not moved: only a
        // real move away from where the pointer was at the start counts.
        return std::abs(msg.pt.x - saverStart_.x) > SaverMoveSlack ||
               std::abs(msg.pt.y - saverStart_.y) > SaverMoveSlack;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_XBUTTONDOWN:
    case WM_NCLBUTTONDOWN:
    case WM_NCRBUTTONDOWN:
    case WM_NCMBUTTONDOWN:
    case WM_NCXBUTTONDOWN:
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
        return true;
    default:
        return false;
    }
}

bool AquariumApp::PreTranslateMessage(MSG& msg) {
    switch (args_.mode) {
    case saver::RunMode::Saver:
        if (!IsInput(msg.message)) return false;
        if (!saverEnding_ && MainWindow() && EndsSaver(msg)) {
            saverEnding_ = true;
            PostMessageA(MainWindow(), WM_CLOSE, 0, 0);
        }
        return true;  // the saver's scene takes no input: no pellets, no menu
    case saver::RunMode::Preview:
        if (msg.message == WM_TIMER && !msg.hwnd && msg.wParam == previewWatch_) {
            if (!IsWindow(reinterpret_cast<HWND>(args_.window)) || !preview_->hwnd()) {
                KillTimer(nullptr, previewWatch_);
                if (preview_->hwnd()) DestroyWindow(preview_->hwnd());
                PostQuitMessage(0);
            }
            return true;
        }
        return IsInput(msg.message);
    default:
        return false;
    }
}

int AquariumApp::ExitInstance() {
    // Their windows went with the main frame's; only one left behind otherwise is destroyed here.
    for (auto& other : monitorFrames_)
        if (other->hwnd()) DestroyWindow(other->hwnd());
    monitorFrames_.clear();
    if (preview_) {
        if (preview_->hwnd()) DestroyWindow(preview_->hwnd());
        delete preview_;
        preview_ = nullptr;
    }
    return App::ExitInstance();
}

bool AquariumApp::OnCommand(int id) {
    if (id != ID_APP_ABOUT) return false;
    win::Dialog about(IDD_ABOUTBOX);
    about.DoModal(MainWindow());
    return true;
}
