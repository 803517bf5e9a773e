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
//   winctl client TITLE        prints "X Y W H" of the client area of the top-level window with that
//                              title (screen pixels); "none" if absent
//   winctl pos TITLE ID        position of the trackbar ID of the window titled TITLE
//   winctl parent W H          shows a magenta window at (40, 40) with a W x H client area, prints
//                              its handle in decimal and runs until that window is destroyed (the
//                              place a screen saver's preview draws into)
//   winctl destroy HWND        asks that window to close (WM_CLOSE)
//   winctl children HWND       prints "child PID W H VISIBLE" for each child window of HWND
//   winctl windows             prints "window X Y W H TOPMOST VIEW_W VIEW_H" for each visible
//                              top-level window of the program (its frames, one per monitor the
//                              saver covers), with the client size of its first child
//   winctl show minimize|restore  ShowWindow on the frame, as another program (or the taskbar) would
//   winctl menus               prints how many popup menus are showing
//   winctl redraw              asks the frame and its view to paint themselves again
//   winctl session lock|unlock   sends the frame the session change the system sends on lock/unlock
//   winctl display off|on|dimmed [monitor]
//                              sends the frame the display-state notification the system sends
//                              (GUID_CONSOLE_DISPLAY_STATE, or GUID_MONITOR_POWER_ON with
//                              "monitor"); its data is written into the program's own memory, as
//                              the system's would be
//   winctl close-on-change TITLE ID   prints "ready", waits until the text of control ID of the
//                              window TITLE changes (the program has just handled something) and
//                              then at once posts WM_CLOSE to the frame, as another program could
//   winctl endsession          sends the frame WM_QUERYENDSESSION and, if it agrees, WM_ENDSESSION,
//                              as Windows does when the user logs off; prints both answers
// Copied as IEXPLORE.exe into the folder the program runs in, winctl stands in for the web browser
// the program starts by that name: each start appends its command line to browser-starts.txt there.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int countFrames = 0;
int countMenus = 0;

BOOL CALLBACK CountMenu(HWND hwnd, LPARAM) {
    char cls[16];
    if (IsWindowVisible(hwnd) && GetClassNameA(hwnd, cls, sizeof cls) && std::strcmp(cls, "#32768") == 0) ++countMenus;
    return TRUE;
}

// The display-state notification: the POWERBROADCAST_SETTING goes into the target's address space
// (the message's lParam points there), and is freed once the message has been handled.
int SendDisplayState(HWND frame, DWORD state, bool monitorGuid) {
    static const GUID ConsoleDisplayState = {0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}};
    static const GUID MonitorPowerOn = {0x02731015, 0x4510, 0x4526, {0x99, 0xe6, 0xe5, 0xa1, 0x7e, 0xbd, 0x1a, 0xea}};
    struct {
        GUID guid;
        DWORD length;
        DWORD data;
    } setting = {monitorGuid ? MonitorPowerOn : ConsoleDisplayState, sizeof(DWORD), state};
    DWORD pid = 0;
    GetWindowThreadProcessId(frame, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return 1;
    void* remote = VirtualAllocEx(process, nullptr, sizeof setting, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    int status = 1;
    if (remote && WriteProcessMemory(process, remote, &setting, sizeof setting, nullptr)) {
        DWORD_PTR answer = 0;
        if (SendMessageTimeoutA(frame, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE, reinterpret_cast<LPARAM>(remote),
                                SMTO_ABORTIFHUNG, 5000, &answer))
            status = 0;
    }
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return status;
}

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

BOOL CALLBACK PrintProgramWindow(HWND hwnd, LPARAM program) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    if (pid != static_cast<DWORD>(program) || !IsWindowVisible(hwnd)) return TRUE;
    RECT w, c = {};
    GetWindowRect(hwnd, &w);
    if (HWND child = GetWindow(hwnd, GW_CHILD)) GetClientRect(child, &c);
    const bool topmost = (GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    std::printf("window %ld %ld %ld %ld %d %ld %ld\n", w.left, w.top, w.right - w.left, w.bottom - w.top,
                topmost ? 1 : 0, c.right, c.bottom);
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

std::string TextOf(HWND control) {
    char text[256] = "";
    GetWindowTextA(control, text, sizeof text);
    return text;
}

int main(int argc, char** argv) {
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    const char* name = std::strrchr(self, '\\') ? std::strrchr(self, '\\') + 1 : self;
    if (lstrcmpiA(name, "IEXPLORE.exe") == 0) {
        FILE* log = std::fopen("browser-starts.txt", "a");
        if (!log) return 1;
        std::fprintf(log, "%s\n", GetCommandLineA());
        std::fclose(log);
        return 0;
    }
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
    if (std::strcmp(argv[1], "client") == 0 && argc == 3) {
        HWND top = FindWindowA(nullptr, argv[2]);
        RECT r;
        POINT origin = {0, 0};
        if (!top || !GetClientRect(top, &r) || !ClientToScreen(top, &origin)) {
            std::printf("none\n");
            return 1;
        }
        std::printf("%ld %ld %ld %ld\n", origin.x, origin.y, r.right, r.bottom);
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
    if (std::strcmp(argv[1], "close-on-change") == 0 && argc == 4) {
        HWND control = GetDlgItem(FindWindowA(nullptr, argv[2]), std::atoi(argv[3]));
        HWND frame = FindWindowA(nullptr, "NerithScr");
        if (!control || !frame) return 1;
        const std::string before = TextOf(control);
        std::printf("ready\n");
        std::fflush(stdout);
        for (int waited = 0; TextOf(control) == before; ++waited) {
            if (waited > 30000) return 1;
            Sleep(1);
        }
        return PostMessageA(frame, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    if (std::strcmp(argv[1], "menus") == 0) {
        EnumWindows(CountMenu, 0);
        std::printf("%d\n", countMenus);
        return 0;
    }
    HWND frame = FindWindowA(nullptr, "NerithScr");
    if (!frame) {
        std::printf("no window\n");
        return 1;
    }
    if (std::strcmp(argv[1], "endsession") == 0) {
        DWORD_PTR agreed = 0, ended = 0;
        if (!SendMessageTimeoutA(frame, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 10000, &agreed)) return 1;
        std::printf("query %lu\n", static_cast<unsigned long>(agreed));
        if (!agreed) return 0;
        if (!SendMessageTimeoutA(frame, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 10000, &ended)) return 1;
        std::printf("ended %lu\n", static_cast<unsigned long>(ended));
        return 0;
    }
    if (std::strcmp(argv[1], "windows") == 0) {
        DWORD pid = 0;
        GetWindowThreadProcessId(frame, &pid);
        EnumWindows(PrintProgramWindow, static_cast<LPARAM>(pid));
        return 0;
    }
    if (std::strcmp(argv[1], "close") == 0) return PostMessageA(frame, WM_CLOSE, 0, 0) ? 0 : 1;
    if (std::strcmp(argv[1], "command") == 0 && argc == 3) {
        HWND view = GetDlgItem(frame, 0xE900);
        return view && PostMessageA(view, WM_COMMAND, static_cast<WPARAM>(std::atoi(argv[2])), 0) ? 0 : 1;
    }
    if (std::strcmp(argv[1], "show") == 0 && argc == 3) {
        const bool minimise = std::strcmp(argv[2], "minimize") == 0;
        if (!minimise && std::strcmp(argv[2], "restore") != 0) return 2;
        ShowWindow(frame, minimise ? SW_MINIMIZE : SW_RESTORE);
        return 0;
    }
    if (std::strcmp(argv[1], "redraw") == 0)
        return RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN) ? 0 : 1;
    if (std::strcmp(argv[1], "session") == 0 && argc == 3) {
        const bool lock = std::strcmp(argv[2], "lock") == 0;
        if (!lock && std::strcmp(argv[2], "unlock") != 0) return 2;
        DWORD session = 0;
        ProcessIdToSessionId(GetCurrentProcessId(), &session);
        DWORD_PTR answer = 0;
        return SendMessageTimeoutA(frame, WM_WTSSESSION_CHANGE, lock ? WTS_SESSION_LOCK : WTS_SESSION_UNLOCK, session,
                                   SMTO_ABORTIFHUNG, 5000, &answer)
                   ? 0
                   : 1;
    }
    if (std::strcmp(argv[1], "display") == 0 && (argc == 3 || argc == 4)) {
        const DWORD state = std::strcmp(argv[2], "off") == 0 ? 0 : std::strcmp(argv[2], "on") == 0 ? 1 : 2;
        if (state == 2 && std::strcmp(argv[2], "dimmed") != 0) return 2;
        return SendDisplayState(frame, state, argc == 4 && std::strcmp(argv[3], "monitor") == 0);
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
