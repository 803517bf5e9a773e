#include <windows.h>

#include "settings/RegistryVolume.h"

int ReadProfileVolume() {
    const int fallback = 1000;
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER,
                      "Software\\Local AppWizard-Generated Applications\\NerithScr\\Settings", 0,
                      KEY_QUERY_VALUE, &key) != ERROR_SUCCESS)
        return fallback;
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    LONG result = RegQueryValueExA(key, "Volume", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) return fallback;
    return static_cast<int>(value);
}
