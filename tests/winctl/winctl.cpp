// A small Windows helper for the end-to-end tests: looks at and acts on the program's windows from
// outside, the way another program on the desktop would (positions in screen pixels).
//   count                  how many top-level windows are titled "NerithScr"
//   dialogs                "HWND TITLE" of each visible dialog box (message boxes too)
//   messages               the texts of those boxes' static controls, line breaks shown as " | "
//   menus                  how many popup menus are showing
//   hold NAME SECONDS      owns the named mutex for that long, like a running copy would
//   window TITLE [ID]      "visible X Y W H" of that top-level window, or "enabled X Y W H" of its
//                          control ID; "none" if absent
//   client TITLE           "X Y W H" of that window's client area; "none" if absent
//   pos TITLE ID           the position of trackbar ID in that window
//   parent W H             shows a magenta window at (40, 40) with a W x H client area (the place a
//                          preview draws into), prints its handle in decimal, runs until it goes
//   destroy HWND           posts WM_CLOSE to that window
//   children HWND          "child PID W H VISIBLE" for each child window of HWND
//   close-on-change TITLE ID   prints "ready", waits until the text of control ID of that window
//                          changes, then at once posts WM_CLOSE to the frame
// and to the program's frame:
//   info                   the frame's and the view's geometry and styles
//   windows                "window X Y W H TOPMOST VIEW_W VIEW_H" for each visible top-level window
//                          of the program (one per monitor the saver covers)
//   close | command ID     posts WM_CLOSE, or WM_COMMAND ID to the view
//   show minimize|restore  ShowWindow, as the taskbar would
//   redraw                 asks the frame and its view to paint again
//   session lock|unlock    the session change the system sends
//   display off|on         the display-state notification the system sends, its data in the
//                          program's memory
//   endsession             WM_QUERYENDSESSION and, if agreed, WM_ENDSESSION; prints both answers
// Copied as IEXPLORE.exe into the folder the program runs in, it stands in for the web browser: each
// start appends its command line to browser-starts.txt there.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

namespace {

using Visit = std::function<void(HWND)>;

void ForEachTopLevel(const Visit& visit) {
    EnumWindows([](HWND h, LPARAM v) { (*reinterpret_cast<const Visit*>(v))(h); return TRUE; },
                reinterpret_cast<LPARAM>(&visit));
}

std::string ClassOf(HWND h) {
    char cls[32] = "";
    GetClassNameA(h, cls, sizeof cls);
    return cls;
}

std::string TextOf(HWND h) {
    char text[4096] = "";
    GetWindowTextA(h, text, sizeof text);
    return text;
}

bool IsShownDialog(HWND h) { return IsWindowVisible(h) && ClassOf(h) == "#32770"; }

HWND HandleArg(const char* arg) { return reinterpret_cast<HWND>(static_cast<UINT_PTR>(std::strtoull(arg, nullptr, 10))); }

// The display-state notification (GUID_CONSOLE_DISPLAY_STATE): its POWERBROADCAST_SETTING goes into
// the target's address space (the message's lParam points there) until the message is handled.
int SendDisplayState(HWND frame, DWORD state) {
    struct {
        GUID guid;
        DWORD length, data;
    } setting = {{0x6fe69556, 0x704a, 0x47a0, {0x8f, 0x24, 0xc2, 0x8d, 0x93, 0x6f, 0xda, 0x47}}, sizeof(DWORD), state};
    DWORD pid = 0;
    GetWindowThreadProcessId(frame, &pid);
    HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_WRITE, FALSE, pid);
    if (!process) return 1;
    void* remote = VirtualAllocEx(process, nullptr, sizeof setting, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    DWORD_PTR answer = 0;
    const bool sent = remote && WriteProcessMemory(process, remote, &setting, sizeof setting, nullptr) &&
                      SendMessageTimeoutA(frame, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE,
                                          reinterpret_cast<LPARAM>(remote), SMTO_ABORTIFHUNG, 5000, &answer);
    if (remote) VirtualFreeEx(process, remote, 0, MEM_RELEASE);
    CloseHandle(process);
    return sent ? 0 : 1;
}

int RunParent(int width, int height) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = [](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
        if (msg == WM_DESTROY) PostQuitMessage(0);
        return DefWindowProcA(h, msg, w, l);
    };
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
    const std::string cmd = argv[1];
    if (cmd == "count" || cmd == "menus") {
        int n = 0;
        ForEachTopLevel([&](HWND h) {
            n += cmd == "count" ? TextOf(h) == "NerithScr" : IsWindowVisible(h) && ClassOf(h) == "#32768";
        });
        std::printf("%d\n", n);
        return 0;
    }
    if (cmd == "dialogs" || cmd == "messages") {
        ForEachTopLevel([&](HWND h) {
            if (!IsShownDialog(h)) return;
            if (cmd == "dialogs") return void(std::printf("%p %s\n", static_cast<void*>(h), TextOf(h).c_str()));
            for (HWND c = GetWindow(h, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                const std::string text = TextOf(c);
                if (lstrcmpiA(ClassOf(c).c_str(), "Static") != 0 || text.empty()) continue;
                for (char ch : text) {
                    if (ch == '\n') std::fputs(" | ", stdout);
                    else if (ch != '\r') std::putchar(ch);
                }
                std::putchar('\n');
            }
        });
        return 0;
    }
    if (cmd == "hold" && argc == 4) {
        HANDLE mutex = CreateMutexA(nullptr, TRUE, argv[2]);
        std::printf("holding %s\n", argv[2]);
        std::fflush(stdout);
        Sleep(static_cast<DWORD>(std::atoi(argv[3]) * 1000));
        CloseHandle(mutex);
        return 0;
    }
    if (cmd == "parent" && argc == 4) return RunParent(std::atoi(argv[2]), std::atoi(argv[3]));
    if (cmd == "destroy" && argc == 3) return PostMessageA(HandleArg(argv[2]), WM_CLOSE, 0, 0) ? 0 : 1;
    if (cmd == "children" && argc == 3) {
        for (HWND c = GetWindow(HandleArg(argv[2]), GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(c, &pid);
            RECT r;
            GetClientRect(c, &r);
            std::printf("child %lu %ld %ld %d\n", pid, r.right, r.bottom, IsWindowVisible(c) ? 1 : 0);
        }
        return 0;
    }
    if ((cmd == "window" || cmd == "client" || cmd == "pos" || cmd == "close-on-change") && argc >= 3) {
        HWND top = FindWindowA(nullptr, argv[2]);
        HWND target = top && argc == 4 ? GetDlgItem(top, std::atoi(argv[3])) : top;
        RECT r;
        POINT origin = {0, 0};
        if (!target || (cmd == "client" && (!GetClientRect(top, &r) || !ClientToScreen(top, &origin)))) {
            std::printf("none\n");
            return 1;
        }
        if (cmd == "client") return std::printf("%ld %ld %ld %ld\n", origin.x, origin.y, r.right, r.bottom), 0;
        if (cmd == "pos") return std::printf("%ld\n", static_cast<long>(SendMessageA(target, WM_USER, 0, 0))), 0;
        if (cmd == "close-on-change") {
            HWND frame = FindWindowA(nullptr, "NerithScr");
            if (!frame || target == top) return 1;
            const std::string before = TextOf(target);
            std::printf("ready\n");
            std::fflush(stdout);
            for (int waited = 0; TextOf(target) == before; ++waited) {
                if (waited > 30000) return 1;
                Sleep(1);
            }
            return PostMessageA(frame, WM_CLOSE, 0, 0) ? 0 : 1;
        }
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
    HWND view = GetDlgItem(frame, 0xE900);
    if (cmd == "close") return PostMessageA(frame, WM_CLOSE, 0, 0) ? 0 : 1;
    if (cmd == "command" && argc == 3)
        return view && PostMessageA(view, WM_COMMAND, static_cast<WPARAM>(std::atoi(argv[2])), 0) ? 0 : 1;
    if (cmd == "redraw") return RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN) ? 0 : 1;
    if (cmd == "show" && argc == 3) {
        const std::string how = argv[2];
        if (how != "minimize" && how != "restore") return 2;
        ShowWindow(frame, how == "minimize" ? SW_MINIMIZE : SW_RESTORE);
        return 0;
    }
    if (cmd == "session" && argc == 3) {
        const std::string how = argv[2];
        if (how != "lock" && how != "unlock") return 2;
        DWORD session = 0;
        ProcessIdToSessionId(GetCurrentProcessId(), &session);
        DWORD_PTR answer = 0;
        return SendMessageTimeoutA(frame, WM_WTSSESSION_CHANGE, how == "lock" ? WTS_SESSION_LOCK : WTS_SESSION_UNLOCK,
                                   session, SMTO_ABORTIFHUNG, 5000, &answer) ? 0 : 1;
    }
    if (cmd == "display" && argc == 3) {
        const std::string how = argv[2];
        if (how != "off" && how != "on") return 2;
        return SendDisplayState(frame, how == "on" ? 1 : 0);
    }
    if (cmd == "endsession") {
        DWORD_PTR agreed = 0, ended = 0;
        if (!SendMessageTimeoutA(frame, WM_QUERYENDSESSION, 0, 0, SMTO_NORMAL, 10000, &agreed)) return 1;
        std::printf("query %lu\n", static_cast<unsigned long>(agreed));
        if (!agreed) return 0;
        if (!SendMessageTimeoutA(frame, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 10000, &ended)) return 1;
        std::printf("ended %lu\n", static_cast<unsigned long>(ended));
        return 0;
    }
    if (cmd == "windows") {
        DWORD program = 0;
        GetWindowThreadProcessId(frame, &program);
        ForEachTopLevel([program](HWND h) {
            DWORD pid = 0;
            GetWindowThreadProcessId(h, &pid);
            if (pid != program || !IsWindowVisible(h)) return;
            RECT w, c = {};
            GetWindowRect(h, &w);
            if (HWND child = GetWindow(h, GW_CHILD)) GetClientRect(child, &c);
            std::printf("window %ld %ld %ld %ld %d %ld %ld\n", w.left, w.top, w.right - w.left, w.bottom - w.top,
                        (GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_TOPMOST) ? 1 : 0, c.right, c.bottom);
        });
        return 0;
    }
    if (cmd == "info") {
        RECT w, c;
        GetWindowRect(frame, &w);
        GetClientRect(frame, &c);
        std::printf("screen %d %d\n", GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
        std::printf("frame %ld %ld %ld %ld\n", w.left, w.top, w.right - w.left, w.bottom - w.top);
        std::printf("frame_client %ld %ld\n", c.right, c.bottom);
        std::printf("frame_style %08lx\n", static_cast<unsigned long>(GetWindowLongA(frame, GWL_STYLE)));
        std::printf("frame_exstyle %08lx\n", static_cast<unsigned long>(GetWindowLongA(frame, GWL_EXSTYLE)));
        std::printf("frame_menu %d\n", GetMenu(frame) ? 1 : 0);
        if (!view) return std::printf("view none\n"), 0;
        GetWindowRect(view, &w);
        std::printf("view %ld %ld %ld %ld\n", w.left, w.top, w.right - w.left, w.bottom - w.top);
        std::printf("view_style %08lx\n", static_cast<unsigned long>(GetWindowLongA(view, GWL_STYLE)));
        std::printf("view_exstyle %08lx\n", static_cast<unsigned long>(GetWindowLongA(view, GWL_EXSTYLE)));
        return 0;
    }
    return 2;
}
