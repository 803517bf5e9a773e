// A small Windows helper for the end-to-end tests: looks at and closes the program's window from
// outside, the way another program on the desktop would.
//   winctl info   prints the frame's and the view's geometry and styles
//   winctl close  posts WM_CLOSE to the frame
//   winctl count  prints how many top-level windows are titled "NerithScr"
//   winctl dialogs  prints the visible top-level dialog boxes (message boxes too): "HWND TITLE" each
//   winctl messages prints the texts of those dialog boxes' static controls (a message box's
//                   message), one line each, line breaks shown as " | "
//   winctl hold NAME SECONDS   owns the named mutex NAME for that long, like a running copy would
//   winctl command ID          posts WM_COMMAND ID to the view, as another program could
//   winctl window TITLE [ID]   prints "visible X Y W H" of the top-level window with that title, or
//                              "enabled X Y W H" of its control ID (screen pixels); "none" if absent
//   winctl pos TITLE ID        position of the trackbar ID of the window titled TITLE
//   winctl parent W H          shows a magenta window at (40, 40) with a W x H client area, prints
//                              its handle in decimal and runs until that window is destroyed (the
//                              place a screen saver's preview draws into)
//   winctl destroy HWND        asks that window to close (WM_CLOSE)
//   winctl children HWND       prints "child PID W H VISIBLE" for each child window of HWND
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

int countFrames = 0;

BOOL CALLBACK CountTitled(HWND hwnd, LPARAM) {
    char title[64];
    if (GetWindowTextA(hwnd, title, sizeof title) && std::strcmp(title, "NerithScr") == 0) ++countFrames;
    return TRUE;
}

BOOL CALLBACK PrintDialog(HWND hwnd, LPARAM) {
    char cls[32], title[128] = "";
    if (IsWindowVisible(hwnd) && GetClassNameA(hwnd, cls, sizeof cls) && std::strcmp(cls, "#32770") == 0) {
        GetWindowTextA(hwnd, title, sizeof title);
        std::printf("%p %s\n", static_cast<void*>(hwnd), title);
    }
    return TRUE;
}

BOOL CALLBACK PrintStatic(HWND hwnd, LPARAM) {
    char cls[32], text[4096] = "";
    if (GetClassNameA(hwnd, cls, sizeof cls) && lstrcmpiA(cls, "Static") == 0 && GetWindowTextA(hwnd, text, sizeof text)) {
        for (const char* c = text; *c; ++c) {
            if (*c == '\n') std::fputs(" | ", stdout);
            else if (*c != '\r') std::putchar(*c);
        }
        std::putchar('\n');
    }
    return TRUE;
}

BOOL CALLBACK PrintDialogTexts(HWND hwnd, LPARAM) {
    char cls[32];
    if (IsWindowVisible(hwnd) && GetClassNameA(hwnd, cls, sizeof cls) && std::strcmp(cls, "#32770") == 0)
        EnumChildWindows(hwnd, PrintStatic, 0);
    return TRUE;
}

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

int RunParent(int width, int height) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = CreateSolidBrush(RGB(255, 0, 255));
    wc.lpszClassName = "winctl.parent";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "Preview parent", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                40, 40, width, height, nullptr, nullptr, wc.hInstance, nullptr);
    if (!hwnd) return 1;
    std::printf("%llu\n", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(hwnd)));
    std::fflush(stdout);
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    if (std::strcmp(argv[1], "count") == 0) {
        EnumWindows(CountTitled, 0);
        std::printf("%d\n", countFrames);
        return 0;
    }
    if (std::strcmp(argv[1], "dialogs") == 0) {
        EnumWindows(PrintDialog, 0);
        return 0;
    }
    if (std::strcmp(argv[1], "messages") == 0) {
        EnumWindows(PrintDialogTexts, 0);
        return 0;
    }
    if (std::strcmp(argv[1], "hold") == 0 && argc == 4) {
        HANDLE mutex = CreateMutexA(nullptr, TRUE, argv[2]);
        std::printf("holding %s\n", argv[2]);
        std::fflush(stdout);
        Sleep(static_cast<DWORD>(std::atoi(argv[3]) * 1000));
        CloseHandle(mutex);
        return 0;
    }
    if (std::strcmp(argv[1], "parent") == 0 && argc == 4) return RunParent(std::atoi(argv[2]), std::atoi(argv[3]));
    if (std::strcmp(argv[1], "destroy") == 0 && argc == 3) {
        HWND target = reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoull(argv[2], nullptr, 10)));
        return PostMessageA(target, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (std::strcmp(argv[1], "children") == 0 && argc == 3) {
        HWND parent = reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoull(argv[2], nullptr, 10)));
        for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(c, &pid);
            RECT r;
            GetClientRect(c, &r);
            std::printf("child %lu %ld %ld %d\n", pid, r.right, r.bottom, IsWindowVisible(c) ? 1 : 0);
        }
        return 0;
    }
    if ((std::strcmp(argv[1], "window") == 0 && (argc == 3 || argc == 4)) ||
        (std::strcmp(argv[1], "pos") == 0 && argc == 4)) {
        HWND top = FindWindowA(nullptr, argv[2]);
        HWND target = top && argc == 4 ? GetDlgItem(top, std::atoi(argv[3])) : top;
        if (!target) {
            std::printf("none\n");
            return 1;
        }
        if (argv[1][0] == 'p') {
            std::printf("%ld\n", static_cast<long>(SendMessageA(target, WM_USER, 0, 0)));  // TBM_GETPOS
            return 0;
        }
        RECT r;
        GetWindowRect(target, &r);
        const int flag = argc == 4 ? IsWindowEnabled(target) : IsWindowVisible(target);
        std::printf("%d %ld %ld %ld %ld\n", flag ? 1 : 0, r.left, r.top, r.right - r.left, r.bottom - r.top);
        return 0;
    }
    HWND frame = FindWindowA(nullptr, "NerithScr");
    if (!frame) {
        std::printf("no window\n");
        return 1;
    }
    if (std::strcmp(argv[1], "close") == 0) return PostMessageA(frame, WM_CLOSE, 0, 0) ? 0 : 1;
    if (std::strcmp(argv[1], "command") == 0 && argc == 3) {
        HWND view = GetDlgItem(frame, 0xE900);
        return view && PostMessageA(view, WM_COMMAND, static_cast<WPARAM>(std::atoi(argv[2])), 0) ? 0 : 1;
    }
    if (std::strcmp(argv[1], "info") == 0) {
        RECT w, c;
        GetWindowRect(frame, &w);
        GetClientRect(frame, &c);
        std::printf("screen %d %d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        std::printf("frame %ld %ld %ld %ld\n", w.left, w.top, w.right - w.left, w.bottom - w.top);
        std::printf("frame_client %ld %ld\n", c.right, c.bottom);
        std::printf("frame_style %08lx\n", static_cast<unsigned long>(GetWindowLongA(frame, GWL_STYLE)));
        std::printf("frame_exstyle %08lx\n", static_cast<unsigned long>(GetWindowLongA(frame, GWL_EXSTYLE)));
        std::printf("frame_menu %d\n", GetMenu(frame) ? 1 : 0);
        HWND view = GetDlgItem(frame, 0xE900);
        if (view) {
            GetWindowRect(view, &w);
            std::printf("view %ld %ld %ld %ld\n", w.left, w.top, w.right - w.left, w.bottom - w.top);
            std::printf("view_style %08lx\n", static_cast<unsigned long>(GetWindowLongA(view, GWL_STYLE)));
            std::printf("view_exstyle %08lx\n", static_cast<unsigned long>(GetWindowLongA(view, GWL_EXSTYLE)));
        } else {
            std::printf("view none\n");
        }
        return 0;
    }
    return 2;
}
