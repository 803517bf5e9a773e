#include "music/BuiltinMusic.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstring>

#include "DeviceVolume.h"
#include "assets/ResourcePack.h"
#include "assets/ScrambleKey.h"
#include "settings/Settings.h"

bool ownMusicOn = true;
int builtinMusicPending = 1;

namespace {

// The descrambled WAVE file. PlaySound with SND_MEMORY reads it for as long as the loop plays, so
// it is made once and never freed: it outlives every sound started from it.
const unsigned char* loopBytes = nullptr;
const unsigned char* LoopBytes() {
    if (loopBytes) return loopBytes;
    HRSRC entry = FindResourceA(nullptr, MAKEINTRESOURCEA(ResourcePack::kMusicId), "RCAD");
    if (!entry) return nullptr;
    HGLOBAL loaded = LoadResource(nullptr, entry);
    const void* stored = loaded ? LockResource(loaded) : nullptr;
    const DWORD size = SizeofResource(nullptr, entry);
    if (!stored || size == 0) return nullptr;
    auto* bytes = new unsigned char[size];
    std::memcpy(bytes, stored, size);
    nerith::DescrambleBuffer(bytes, size);
    loopBytes = bytes;
    return loopBytes;
}

}  // namespace

void StartBuiltinMusic() {
    const unsigned char* wave = LoopBytes();
    ApplyDeviceVolume(gSettings.volume);
    if (!wave) return;  // no music entry: silence, as a missing file would give
    PlaySoundA(reinterpret_cast<LPCSTR>(wave), nullptr, SND_MEMORY | SND_LOOP | SND_NODEFAULT | SND_ASYNC);
}

void ServiceBuiltinMusic() {
    if (ownMusicOn) {
        // The loop is stopped once, when it was started: every tick's call into the sound system
        // would cost the frame time for nothing (0.7 ms under Wine).
        if (!builtinMusicPending) PlaySoundA(nullptr, nullptr, SND_FILENAME);
        builtinMusicPending = 1;
    } else if (builtinMusicPending) {
        StartBuiltinMusic();
        builtinMusicPending = 0;
    }
}
