// What Windows reads from the built program: the version information and the manifest, read the
// way the system reads them (this test program carries the same resources, so the manifest's
// effects and the pictures show here).
#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

namespace {

// The built program, next to this test program.
std::wstring ProgramPath() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring p(path, n);
    return p.substr(0, p.find_last_of(L"\\/") + 1) + L"NerithScr.exe";
}

std::wstring VersionString(const std::vector<char>& info, const wchar_t* name) {
    void* value = nullptr;
    UINT size = 0;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
    if (!VerQueryValueW(info.data(), key.c_str(), &value, &size) || !value) return L"";
    return static_cast<const wchar_t*>(value);
}

}  // namespace

TEST(SaverResources, VersionInformationOfTheProgram) {
    const std::wstring exe = ProgramPath();
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version information in the program";
    std::vector<char> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(exe.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT fixedSize = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize));
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00010000u) << "version 1.0";
    const unsigned build = HIWORD(fixed->dwFileVersionLS);
    EXPECT_GT(build, 0u) << "the build number (commits) is missing";
    EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    EXPECT_EQ(VersionString(info, L"ProductName"), L"3D Nerith Fish Screensaver");
    EXPECT_EQ(VersionString(info, L"FileDescription"), L"3D Nerith Fish Screensaver");
    EXPECT_EQ(VersionString(info, L"FileVersion"), L"1.0." + std::to_wstring(build) + L".0");
    EXPECT_EQ(VersionString(info, L"ProductVersion"), VersionString(info, L"FileVersion"));
    EXPECT_EQ(VersionString(info, L"OriginalFilename"), L"NerithScr.exe");
}

TEST(SaverResources, ManifestAsTheSystemReadsItAndItsEffectInTheProcess) {
    const std::wstring exe = ProgramPath();
    ACTCTXW actctx = {};
    actctx.cbSize = sizeof actctx;
    actctx.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    actctx.lpSource = exe.c_str();
    actctx.lpResourceName = MAKEINTRESOURCEW(1);
    HANDLE context = CreateActCtxW(&actctx);
    ASSERT_NE(context, INVALID_HANDLE_VALUE) << "no usable manifest (resource 1 of type 24), error " << GetLastError();

    // System DPI awareness. ("dpiAware" and Common Controls 6 show in this process: see below.)
    wchar_t value[64] = L"";
    SIZE_T written = 0;
    ASSERT_TRUE(QueryActCtxSettingsW(0, context, L"http://schemas.microsoft.com/SMI/2016/WindowsSettings",
                                     L"dpiAwareness", value, 64, &written));
    EXPECT_STREQ(value, L"system");

    // Windows 7, 8, 8.1 and 10/11 as supported systems. The element layout differs between
    // systems (newer ones add a tested version), so the ids are looked for in the whole answer.
    DWORD compat[128] = {};
    SIZE_T needed = 0;
    ASSERT_TRUE(QueryActCtxW(0, context, nullptr, 6 /* CompatibilityInformationInActivationContext */, compat,
                             sizeof compat, &needed))
        << "no compatibility section, error " << GetLastError();
    EXPECT_EQ(compat[0], 4u) << "supported systems";
    const GUID expected[] = {
        {0x35138b9a, 0x5d96, 0x4fbd, {0x8e, 0x2d, 0xa2, 0x44, 0x02, 0x25, 0xf9, 0x3a}},  // 7
        {0x4a2f28e3, 0x53b9, 0x4441, {0xba, 0x9c, 0xd6, 0x9d, 0x4a, 0x4a, 0x6e, 0x38}},  // 8
        {0x1f676c76, 0x80e1, 0x4239, {0x95, 0xbb, 0x83, 0xd0, 0xf6, 0xd0, 0xda, 0x78}},  // 8.1
        {0x8e0f7a12, 0xbfb3, 0x4fe8, {0xb9, 0xa5, 0x48, 0xfd, 0x50, 0xa1, 0x5a, 0x9a}},  // 10, 11
    };
    const char* bytes = reinterpret_cast<const char*>(compat);
    const std::string answer(bytes, bytes + (needed < sizeof compat ? needed : sizeof compat));
    for (int i = 0; i < 4; ++i)
        EXPECT_NE(answer.find(std::string(reinterpret_cast<const char*>(&expected[i]), sizeof(GUID))),
                  std::string::npos)
            << "supported system " << i;

    ReleaseActCtx(context);

    // This test program is built from the same resource script, so it starts with the same manifest.
    EXPECT_TRUE(IsProcessDPIAware());
    // Common Controls 6 is in use: only its buttons know BCM_GETIDEALSIZE. (Wine's copy still
    // reports 5.81 from DllGetVersion, so asking for the version would not tell.)
    HWND button = CreateWindowExW(0, L"Button", L"Fix Color", WS_POPUP | BS_AUTOCHECKBOX, 0, 0, 80, 20, nullptr,
                                  nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(button, nullptr);
    SIZE ideal = {};
    EXPECT_TRUE(SendMessageW(button, BCM_GETIDEALSIZE, 0, reinterpret_cast<LPARAM>(&ideal)));
    EXPECT_GT(ideal.cx, 0);
    DestroyWindow(button);
}

// The application icon, the popup icons, the mode cursors and the species bitmap.
TEST(Resources, IconsCursorsAndBitmapLoad) {
    HINSTANCE self = GetModuleHandleA(nullptr);
    for (int id : {128, 133, 134, 135, 160, 175, 180, 232, 253}) {
        HICON icon = static_cast<HICON>(LoadImageA(self, MAKEINTRESOURCEA(id), IMAGE_ICON, 24, 24, 0));
        EXPECT_NE(icon, nullptr) << "icon " << id;
        if (icon) DestroyIcon(icon);
    }
    for (int id : {158, 159, 163, 164, 167, 177, 169, 178}) {
        HCURSOR cursor = LoadCursorA(self, MAKEINTRESOURCEA(id));
        ASSERT_NE(cursor, nullptr) << "cursor " << id;
        ICONINFO info = {};
        ASSERT_TRUE(GetIconInfo(cursor, &info));
        EXPECT_FALSE(info.fIcon) << "cursor " << id;  // a cursor, with a hot spot
        EXPECT_LT(info.xHotspot, 32u);
        EXPECT_LT(info.yHotspot, 32u);
        if (info.hbmMask) DeleteObject(info.hbmMask);
        if (info.hbmColor) DeleteObject(info.hbmColor);
    }
    HBITMAP species = static_cast<HBITMAP>(LoadImageA(self, MAKEINTRESOURCEA(129), IMAGE_BITMAP, 0, 0, 0));
    ASSERT_NE(species, nullptr);
    BITMAP bm = {};
    GetObjectA(species, sizeof bm, &bm);
    EXPECT_GT(bm.bmWidth, 100);
    EXPECT_GT(bm.bmHeight, 100);
    DeleteObject(species);
    char title[32] = "";
    EXPECT_GT(LoadStringA(self, 128, title, sizeof title), 0);
    EXPECT_STREQ(title, "NerithScr");
    EXPECT_GT(LoadStringA(self, 57344, title, sizeof title), 0);
    EXPECT_STREQ(title, "NerithScr");
}
