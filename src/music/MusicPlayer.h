#pragma once
// The user's music player: one MCI window (a hidden child of a control of the Custom Music
// dialog) for the file being played. Windows only.
#include <windows.h>

#include <string>

class MusicPlayer {
public:
    MusicPlayer() = default;
    ~MusicPlayer();  // closes the MCI window
    MusicPlayer(const MusicPlayer&) = delete;
    MusicPlayer& operator=(const MusicPlayer&) = delete;

    void SetParentWindow(HWND parent) { parentWindow = parent; }
    void SetFileName(const std::string& name) { fileName = name; }
    // Destroys the MCI window of the previous file and creates one for fileName (an empty name
    // gives a window without a device); reads whether it can play, sets the time format to
    // milliseconds and reads the device volume.
    void Open();
    void Play();
    void Stop();
    void Close();  // closes the device; the window stays until the next Open
    void Seek(int ms);
    int GetPosition();
    int GetLength();
    void SetVolume(int level);  // 0 to 1000, 1000 the device's normal level
    // The device reports that it is not playing (stopped by itself or never started).
    bool IsStopped();

    HWND parentWindow = nullptr;
    int volume = 1000;
    bool canPlay = false;
    HWND mciWindow = nullptr;
    std::string fileName;
};
