#include "music/MusicPlayer.h"

#include <mmsystem.h>
#include <vfw.h>

namespace {
// A child window without play bar or menu that tells its parent everything. Errors are not
// shown in message boxes: an unplayable file is skipped quietly.
constexpr DWORD PlayerStyle =
    WS_CHILD | WS_VISIBLE | MCIWNDF_NOPLAYBAR | MCIWNDF_NOMENU | MCIWNDF_NOTIFYALL | MCIWNDF_NOERRORDLG;
}  // namespace

MusicPlayer::~MusicPlayer() {
    if (mciWindow && IsWindow(mciWindow)) {
        SendMessageA(mciWindow, WM_CLOSE, 0, 0);
        if (IsWindow(mciWindow)) DestroyWindow(mciWindow);
    }
    mciWindow = nullptr;
    fileName.clear();
}

void MusicPlayer::Open() {
    if (mciWindow && IsWindow(mciWindow)) DestroyWindow(mciWindow);  // one window, never a pile of them
    mciWindow = MCIWndCreateA(parentWindow, GetModuleHandleA(nullptr), PlayerStyle,
                              fileName.empty() ? nullptr : fileName.c_str());
    canPlay = mciWindow && SendMessageA(mciWindow, MCIWNDM_CAN_PLAY, 0, 0) != 0;
    if (!mciWindow) return;
    SendMessageA(mciWindow, MCIWNDM_SETTIMEFORMATA, 0, reinterpret_cast<LPARAM>("ms"));
    SendMessageA(mciWindow, MCIWNDM_SETACTIVETIMER, 100, 0);
    volume = static_cast<int>(SendMessageA(mciWindow, MCIWNDM_GETVOLUME, 0, 0));
}

void MusicPlayer::Play() {
    if (mciWindow) SendMessageA(mciWindow, MCI_PLAY, 0, 0);
}

void MusicPlayer::Stop() {
    if (mciWindow) SendMessageA(mciWindow, MCI_STOP, 0, 0);
}

void MusicPlayer::Close() {
    if (mciWindow) SendMessageA(mciWindow, MCI_CLOSE, 0, 0);
}

void MusicPlayer::Seek(int ms) {
    if (mciWindow) SendMessageA(mciWindow, MCI_SEEK, 0, ms);
}

int MusicPlayer::GetPosition() {
    return mciWindow ? static_cast<int>(SendMessageA(mciWindow, MCIWNDM_GETPOSITION, 0, 0)) : 0;
}

int MusicPlayer::GetLength() {
    return mciWindow ? static_cast<int>(SendMessageA(mciWindow, MCIWNDM_GETLENGTH, 0, 0)) : 0;
}

void MusicPlayer::SetVolume(int level) {
    volume = level;
    if (mciWindow) SendMessageA(mciWindow, MCIWNDM_SETVOLUME, 0, level);
}

bool MusicPlayer::IsStopped() {
    if (!mciWindow) return true;
    const LRESULT mode = SendMessageA(mciWindow, MCIWNDM_GETMODEA, 0, 0);
    return mode != MCI_MODE_PLAY && mode != MCI_MODE_SEEK;
}
