#include "win/App.h"

namespace win {
namespace {
App* current = nullptr;
constexpr UINT AppTitleString = 57344;
}

App::App() { current = this; }

App::~App() {
    if (current == this) current = nullptr;
}

App* App::Current() { return current; }

const char* App::AppName() {
    if (!name_[0] && !LoadStringA(GetModuleHandleA(nullptr), AppTitleString, name_, sizeof name_))
        lstrcpynA(name_, "NerithScr", sizeof name_);
    return name_;
}

int App::Run() {
    MSG msg;
    int got;
    while ((got = GetMessageA(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1) break;
        if (PreTranslateMessage(msg)) continue;
        // Keys of a modeless dialog (Tab, Enter, Escape) go to its dialog manager.
        HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        if (root && GetClassLongPtrW(root, GCW_ATOM) == 32770 && IsDialogMessageW(root, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    exitCode_ = got == 0 ? static_cast<int>(msg.wParam) : 0;
    return ExitInstance();
}

int App::Main() {
    if (!InitInstance()) {
        if (mainWindow_) DestroyWindow(mainWindow_);
        return ExitInstance();
    }
    return Run();
}

}  // namespace win
