#pragma once
// The initial volume of the user's music, from the application profile in the registry: the DWORD
// "Volume" in section "Settings" of the application "NerithScr" under the registry key
// "Local AppWizard-Generated Applications" (below HKEY_CURRENT_USER\Software). 1000 when the value
// is missing or not a DWORD. Read only. Windows only.
int ReadProfileVolume();
