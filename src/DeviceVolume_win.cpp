#include "DeviceVolume.h"

#include <windows.h>
#include <mmsystem.h>

void ApplyDeviceVolume(int setting) {
    waveOutSetVolume(reinterpret_cast<HWAVEOUT>(0), DeviceVolumeValue(setting));
}
