#include "Instrument.h"

#ifdef NERITH_INSTRUMENT
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "GL.h"
#include "assets/ResourcePack_win.h"
#include "view/FrameTick.h"
#include "view/GlSurface.h"

// The log lives in the Windows directory beside the settings file:
//   mark NAME MS        start-up moments
//   frames N            frames shown so far
//   elapsed_ms MS       since the first frame
//   cpu_ms MS           process CPU time (user + kernel) since the first frame
//   gl_errors N         OpenGL errors raised so far
//   backbuffer L C      the last back buffer read: lit pixels per mille, colours at 4 levels
//   tick ...            the frame clock: mean, shortest and longest period between ticks (ms),
//                       ticks fallen due, frames they started, the kind of timer
// NERITH_DIRECT_GL=1 makes the view render straight into its window even under Wine, and
// NERITH_PER_USER=1 makes the program keep its files in the per-user folder, as it does when the
// Windows directory takes no new files. NERITH_SNAPSHOT_AT=N keeps the Nth frame as the picture.
namespace instrument {
namespace {

LARGE_INTEGER frequency, started, firstFrame;
long long frames = 0;
double cpuAtFirstFrame = 0;
struct MarkEntry {
    char name[40];
    double ms;
};
MarkEntry marks[32];
int markCount = 0;
char notes[8][96];
int noteCount = 0;

struct StageEntry {
    const char* name;
    double first, total;
    int samples;
};
StageEntry stages[16];
int stageCount = 0;
LARGE_INTEGER stageStart;

struct CountEntry {
    const char* name;
    long long value;
};
CountEntry counts[8];
int countCount = 0;

struct SpanEntry {
    const char* name;
    double total;
};
SpanEntry spans[8];
int spanCount = 0;
LARGE_INTEGER spanStart;
bool sampling = true;  // the first frame is timed
long long glErrors = 0;
int backLit = -1, backColours = -1;
int gdiObjects = -1, userWindows = -1;
TickStats tickStats;
long long snapshotFrame = 50;
bool hiddenNow = false;
long long hiddenSpells = 0, framesHidden = 0;

BOOL CALLBACK CountWindow(HWND hwnd, LPARAM counter) {
    ++*reinterpret_cast<int*>(counter);
    EnumChildWindows(hwnd, &CountWindow, counter);
    return TRUE;
}

// The process's GDI objects (where Wine's GetGuiResources answers 0, the live entries of its
// handle table, which an object's index alone names) and the windows of this thread, hidden
// dialogs and their controls included.
void CountObjects() {
    DWORD gdi = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    if (gdi == 0)
        for (ULONG_PTR i = 1; i < 0x10000; ++i) gdi += GetObjectType(reinterpret_cast<HGDIOBJ>(i)) != 0;
    gdiObjects = static_cast<int>(gdi);
    userWindows = 0;
    EnumThreadWindows(GetCurrentThreadId(), &CountWindow, reinterpret_cast<LPARAM>(&userWindows));
}

double MsSince(const LARGE_INTEGER& from) {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return 1000.0 * static_cast<double>(now.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double CpuMs() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto ticks = [](const FILETIME& f) {
        return static_cast<double>((static_cast<unsigned long long>(f.dwHighDateTime) << 32) | f.dwLowDateTime);
    };
    return (ticks(kernel) + ticks(user)) / 10000.0;
}

// The log is written to a sibling file and renamed over the old one, so that a reader polling it
// from outside never sees it half written (an empty "frames" line read as no frames at all). In a
// folder that takes no new file, the existing log is rewritten in place.
void WriteLogTo(const char* path) {
    char temp[MAX_PATH + 48];
    if (std::snprintf(temp, sizeof temp, "%s.new", path) >= static_cast<int>(sizeof temp)) return;
    FILE* f = std::fopen(temp, "w");
    bool inPlace = false;
    if (!f) {
        f = std::fopen(path, "w");
        inPlace = true;
    }
    if (!f) return;
    for (int i = 0; i < markCount; ++i) std::fprintf(f, "mark %s %.1f\n", marks[i].name, marks[i].ms);
    for (int i = 0; i < noteCount; ++i) std::fprintf(f, "note %s\n", notes[i]);
    for (int i = 0; i < spanCount; ++i) std::fprintf(f, "span %s %.1f\n", spans[i].name, spans[i].total);
    for (int i = 0; i < countCount; ++i) std::fprintf(f, "count %s %lld\n", counts[i].name, counts[i].value);
    for (int i = 0; i < stageCount; ++i)
        std::fprintf(f, "stage %s first %.2f avg %.2f\n", stages[i].name, stages[i].first,
                     stages[i].samples ? stages[i].total / stages[i].samples : 0.0);
    std::fprintf(f, "gl_errors %lld\n", glErrors);
    if (tickStats.ticks > 0)
        std::fprintf(f, "tick period_ms %.3f min %.3f max %.3f ticks %lld frames %lld timer %s\n", tickStats.meanMs,
                     tickStats.minMs, tickStats.maxMs, tickStats.ticks, tickStats.frames, tickStats.timer);
    if (backLit >= 0) std::fprintf(f, "backbuffer %d %d\n", backLit, backColours);
    if (gdiObjects >= 0) std::fprintf(f, "gdi_objects %d\nuser_windows %d\n", gdiObjects, userWindows);
    std::fprintf(f, "hidden %d\nhidden_spells %lld\nframes_hidden %lld\n", hiddenNow ? 1 : 0, hiddenSpells, framesHidden);
    std::fprintf(f, "frames %lld\nelapsed_ms %.1f\ncpu_ms %.1f\n", frames, MsSince(firstFrame),
                 CpuMs() - cpuAtFirstFrame);
    if (inPlace) {
        std::fclose(f);
    } else if (std::fclose(f) != 0 || !MoveFileExA(temp, path, MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(temp);
    }
}

// NERITH_LOG_COPY=PATH writes the log to PATH as well (the measurements read it from outside the
// Wine prefix).
void WriteLog() {
    char path[MAX_PATH + 40];
    UINT n = GetWindowsDirectoryA(path, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return;
    std::strcat(path, "\\NerithScr-instrument.log");
    WriteLogTo(path);
    if (const char* copy = std::getenv("NERITH_LOG_COPY")) WriteLogTo(copy);
}

bool EnvironmentSays(const char* name) {
    const char* value = std::getenv(name);
    return value && value[0] == '1';
}

}  // namespace

void ProgramStarted() {
    if (EnvironmentSays("NERITH_DIRECT_GL")) GlSurface::ForceDirect();
    if (EnvironmentSays("NERITH_PER_USER")) nerith::ForcePerUserWorkFolder();
    if (const char* at = std::getenv("NERITH_SNAPSHOT_AT")) snapshotFrame = std::atoll(at);
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&started);
    stageStart = started;
}

void Mark(const char* what) {
    if (markCount == 32) return;
    lstrcpynA(marks[markCount].name, what, sizeof marks[markCount].name);
    marks[markCount++].ms = MsSince(started);
}

void Note(const char* text) {
    if (noteCount < 8) lstrcpynA(notes[noteCount++], text, sizeof notes[0]);
}

void Stage(const char* name) {
    if (!sampling) return;
    glFinish();
    const double ms = MsSince(stageStart);
    int i = 0;
    while (i < stageCount && std::strcmp(stages[i].name, name) != 0) ++i;
    if (i == stageCount) {
        if (stageCount == 16) return;
        stages[stageCount++] = {name, ms, 0.0, 0};
    } else {
        stages[i].total += ms;
        ++stages[i].samples;
    }
    QueryPerformanceCounter(&stageStart);
}

void SpanStart() { QueryPerformanceCounter(&spanStart); }

void SpanEnd(const char* name) {
    const double ms = MsSince(spanStart);
    int i = 0;
    while (i < spanCount && std::strcmp(spans[i].name, name) != 0) ++i;
    if (i == spanCount) {
        if (spanCount == 8) return;
        spans[spanCount++] = {name, 0.0};
    }
    spans[i].total += ms;
    QueryPerformanceCounter(&spanStart);
}

void Count(const char* name) {
    int i = 0;
    while (i < countCount && std::strcmp(counts[i].name, name) != 0) ++i;
    if (i == countCount) {
        if (countCount == 8) return;
        counts[countCount++] = {name, 0};
    }
    ++counts[i].value;
    WriteLog();
}

void Ticks(const TickStats& stats) { tickStats = stats; }

void FrameFinished(int width, int height) {
    // Between the frames whose stages are timed, so that the count is not timed with them.
    if ((frames != 0 && frames % 50 != 25) || width <= 0 || height <= 0) return;
    static std::vector<unsigned char> pixels;
    pixels.assign(static_cast<size_t>(width) * height * 4, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);  // from the frame drawn (the back buffer or the frame buffer)
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    bool seen[64] = {};
    long long lit = 0;
    for (size_t i = 0; i < pixels.size(); i += 4) {
        const unsigned char r = pixels[i], g = pixels[i + 1], b = pixels[i + 2];
        lit += r > 24 || g > 24 || b > 24;
        seen[(r >> 6) * 16 + (g >> 6) * 4 + (b >> 6)] = true;
    }
    backLit = static_cast<int>(lit * 1000 / (static_cast<long long>(width) * height));
    backColours = 0;
    for (bool s : seen) backColours += s;
}

void Snapshot() {
    if (frames + 1 != snapshotFrame) return;
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    const int w = viewport[2], h = viewport[3];
    if (w <= 0 || h <= 0) return;
    const int stride = (w * 3 + 3) & ~3;  // BMP rows and GL_PACK_ALIGNMENT 4 agree
    unsigned char* pixels = new unsigned char[static_cast<size_t>(stride) * h];
    glPixelStorei(GL_PACK_ALIGNMENT, 4);  // from the frame drawn (the back buffer or the frame buffer)
    glReadPixels(0, 0, w, h, GL_BGR_EXT, GL_UNSIGNED_BYTE, pixels);
    BITMAPINFOHEADER info = {};
    info.biSize = sizeof info;
    info.biWidth = w;
    info.biHeight = h;  // bottom-up, as OpenGL reads
    info.biPlanes = 1;
    info.biBitCount = 24;
    info.biCompression = BI_RGB;
    info.biSizeImage = static_cast<DWORD>(stride * h);
    BITMAPFILEHEADER file = {};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + info.biSizeImage;
    char path[MAX_PATH + 40];
    UINT n = GetWindowsDirectoryA(path, MAX_PATH);
    if (n > 0 && n < MAX_PATH) {
        std::strcat(path, "\\NerithScr-frame.bmp");
        if (FILE* f = std::fopen(path, "wb")) {
            std::fwrite(&file, sizeof file, 1, f);
            std::fwrite(&info, sizeof info, 1, f);
            std::fwrite(pixels, 1, info.biSizeImage, f);
            std::fclose(f);
        }
    }
    delete[] pixels;
}

void Hidden(bool hidden) {
    hiddenNow = hidden;
    if (hidden) ++hiddenSpells;
    WriteLog();
}

void FrameShown() {
    if (hiddenNow) ++framesHidden;
    for (int i = 0; i < 8 && glGetError() != GL_NO_ERROR; ++i) ++glErrors;
    sampling = (frames + 1) % 50 == 0;
    QueryPerformanceCounter(&stageStart);
    if (++frames == 1) {
        Mark("first_frame");
        QueryPerformanceCounter(&firstFrame);
        cpuAtFirstFrame = CpuMs();
        WriteLog();
    } else if (frames % 20 == 0) {
        if (frames % 500 == 0) CountObjects();
        WriteLog();
    }
}

}  // namespace instrument
#endif
