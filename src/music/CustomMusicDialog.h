#pragma once
// The Custom Music dialog (template 259): the user's music list, the own-music switch, the play
// modes and the music volume. Modeless and alive for the whole run: the view creates it hidden,
// shows it on "Custom Music", and closing it only hides it, so its timer keeps the music going.
// Windows only.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "music/MusicPlayer.h"
#include "ui/ColourSlider.h"
#include "ui/LedCheckButton.h"
#include "win/Dialog.h"

class CustomMusicDialog : public win::StandingDialog {
public:
    enum {
        TemplateId = 259,
        OnOffId = 1011,
        ListId = 1016,
        AddId = 1017,
        RemoveId = 1018,
        RemoveAllId = 1019,
        PlayId = 1021,
        StopId = 1022,
        RepeatOneId = 1023,
        RepeatAllId = 1024,
        RandomId = 1025,
        VolumeId = 1007,
        PositionId = 1006,
        PlayerParentId = 1034,
    };

    CustomMusicDialog() : StandingDialog(TemplateId) {}
    ~CustomMusicDialog() override;

    // Choose a row and open it without starting it; start and stop the open track; the 200 ms
    // poll that follows the "On/Off" box and moves on at the end of a track.
    void PrepareTrack(int fallbackIndex, bool userPick);
    void StartPlaying();
    void StopPlaying();
    void ServicePlayback();

    // Saves the section "Custom Settings" (each time the dialog is hidden).
    void SaveList();

    int RunState() const { return runState; }
    int CurrentIndex() const { return currentIndex; }
    int PlayModeValue() const { return playMode; }

protected:
    BOOL OnInitDialog() override;
    void SaveOnHide() override { SaveList(); }
    INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnCommand(int id);
    void AddMusic();
    void RemoveSelected();
    void RemoveAll();
    void SelectMode(int id);
    void LoadList();
    void AppendRow(const std::string& path);
    int RowCount() const;
    int FirstSelectedRow() const;
    std::string RowPath(int row) const;
    void MarkPlayingRow(int row);
    void EnableEditing(bool enable);
    LRESULT OnListCustomDraw(NMLVCUSTOMDRAW* draw);

    LedCheckButton onOff, repeatOne, repeatAll, random;
    ColourSlider volumeSlider;
    MusicPlayer player;
    int position = 0;
    int musicVolume = 1000;
    int runState = 1;       // 0 playing, 1 not started yet, 2 stopped
    int currentIndex = -1;  // the open row, -1 for none
    int rowCount = 0;
    int playMode = 0;
};

// The row the music list draws as playing (green), -1 for none.
extern int playingRow;
