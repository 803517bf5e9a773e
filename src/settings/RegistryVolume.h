#pragma once
// The initial volume of the user's music, from the application profile in the registry:
// DWORD "Volume" under HKEY_CURRENT_USER\Software\Local AppWizard-Generated Applications\
// NerithScr\Settings. 1000 when the value is missing or not a DWORD. Read only. Windows only.
int ReadProfileVolume();
