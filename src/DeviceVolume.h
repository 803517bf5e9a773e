#pragma once
// The output volume of wave device 0, set from a Sound slider position (0 = loudest, 65535 = silent).
#include <cstdint>

// The waveOutSetVolume value for a slider position: level = 65535 - setting, kept to its low
// 16 bits (positions edited into the file outside 0..65535 wrap), on both channels.
inline std::uint32_t DeviceVolumeValue(int setting) {
    const std::uint32_t level = static_cast<std::uint32_t>(65535 - static_cast<std::int64_t>(setting)) & 0xFFFFu;
    return level * 65536u + level;
}

// Applies DeviceVolumeValue(setting) to wave device 0; the result is ignored.
void ApplyDeviceVolume(int setting);
