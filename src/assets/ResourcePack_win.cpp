// The Windows side of the resource pack: the work folder and the resource section.
#include <windows.h>
#include <shlobj.h>

#include <cstdlib>

#include "assets/ResourcePack.h"
#include "assets/ResourcePack_win.h"

namespace nerith {

bool IsFolderWritable(const std::string& folder) {
    std::string probe = folder + "NerithScr" + std::to_string(GetCurrentProcessId()) + ".tmp";
    HANDLE file = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    BOOL ok = WriteFile(file, "probe", 5, &written, nullptr) && written == 5;
    CloseHandle(file);
    if (!DeleteFileA(probe.c_str())) return false;
    return ok != FALSE;
}

static bool IsDirectory(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string PerUserWorkFolder(const std::string& windowsFolder, const std::string& localAppData) {
    if (localAppData.empty()) return std::string();
    std::string base = localAppData;
    while (!base.empty() && (base.back() == '\\' || base.back() == '/')) base.pop_back();
    if (base.empty()) return std::string();
    std::string folder = base + "\\NerithScr";
    if (!IsDirectory(folder)) {
        CreateDirectoryA(base.c_str(), nullptr);
        CreateDirectoryA(folder.c_str(), nullptr);
        if (!IsDirectory(folder)) return std::string();
    }
    folder += "\\";
    std::string settings = folder + "PondelSet.ini";
    if (GetFileAttributesA(settings.c_str()) == INVALID_FILE_ATTRIBUTES)
        CopyFileA((windowsFolder + "PondelSet.ini").c_str(), settings.c_str(), TRUE);
    return folder;
}

static bool perUserForced = false;

void ForcePerUserWorkFolder() { perUserForced = true; }

std::string LocalAppDataFolder() {
    char path[MAX_PATH];
    if (SUCCEEDED(SHGetFolderPathA(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, path)))
        return path;
    const char* variable = std::getenv("LOCALAPPDATA");
    return variable ? variable : std::string();
}

}  // namespace nerith

std::string ResourcePack::WorkFolder() {
    char buffer[MAX_PATH];
    UINT length = GetWindowsDirectoryA(buffer, MAX_PATH);
    // A length of MAX_PATH or more means the buffer was too small and holds no path.
    if (length == 0 || length >= MAX_PATH) {
        MessageBoxA(nullptr, "Error Find TempPath.", "ERROR", MB_OK);
        return std::string();
    }
    std::string windowsFolder = std::string(buffer, length) + "\\";

    // Decided once per process: the Windows directory when it takes new files (as it does for
    // administrators and under older systems), otherwise the user's own folder.
    static bool decided = false;
    static std::string perUserFolder;
    if (!decided) {
        decided = true;
        if (nerith::perUserForced || !nerith::IsFolderWritable(windowsFolder))
            perUserFolder = nerith::PerUserWorkFolder(windowsFolder, nerith::LocalAppDataFolder());
    }
    return perUserFolder.empty() ? windowsFolder : perUserFolder;
}

bool ResourcePack::Extract(int id, const std::string& folder, const std::string& baseName) {
    HMODULE module = GetModuleHandleA(nullptr);
    HRSRC entry = FindResourceA(module, MAKEINTRESOURCEA(id), "RCAD");
    if (!entry) return false;
    HGLOBAL loaded = LoadResource(module, entry);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    DWORD size = SizeofResource(module, entry);
    if (!data) return false;

    // CREATE_ALWAYS truncates a file left over from an earlier run, so the intermediate file
    // holds exactly this entry's bytes.
    HANDLE file = CreateFileA(IntermediatePath(folder, baseName).c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
        DWORD written = 0;
        WriteFile(file, data, size, &written, nullptr);
        CloseHandle(file);
    }
    Descramble(folder, baseName);
    return true;
}
