#pragma once
// The Custom Background dialog (template 288): the user's own pictures behind the water. The view
// creates it hidden at start-up and shows it for "  Custom Background"; closing only hides it (and
// saves "Custom Images"). Its 200 ms timer runs for the whole life of the dialog, shown or hidden,
// and publishes ownImageOn and the picture to draw.
#include <string>

#include "backgrounds/PictureCycle.h"
#include "ui/FlatButton.h"
#include "ui/LedCheckButton.h"
#include "win/Dialog.h"

class CustomBackgroundDialog : public win::StandingDialog {
public:
    CustomBackgroundDialog();
    ~CustomBackgroundDialog() override;


    // The texture the background plane shows: the current picture while own pictures are on
    // and it is one of the listed pictures (and not still being decoded), else `builtIn`.
    unsigned TextureToDraw(unsigned builtIn) const;

    const backgrounds::PictureCycle& Cycle() const { return cycle; }

    // Adds the picture at `path` as the "Add Image" button does after the open dialog; the
    // outcome is what the message boxes said.
    enum AddOutcome { Added, LoadFailed, ListFull };
    AddOutcome AddPath(const std::string& path);

protected:
    BOOL OnInitDialog() override;
    void SaveOnHide() override { Save(); }
    INT_PTR DialogProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    bool OnCommand(int id, int code, LPARAM lParam);
    void AddImage();
    void RemoveSelected();
    void RemoveAll();
    void StartCycling();
    void StopCycling();
    void SelectMode(int mode);
    void OnTick();
    void FinishLoading();
    // Takes `row` out of the list and the cycle; returns its texture.
    unsigned DropRow(int row);
    void MarkOn(int row);
    void Save();
    void Load();
    int ItemCount() const;
    std::string RowPath(int row) const;
    void Message(const std::string& text);

    backgrounds::PictureCycle cycle;  // pictures, currentPicture, pictureCount, cycling, mode, ticks
    LedCheckButton ownBox, repeatOneBox, repeatAllBox, randomBox;
    FlatButton addButton, removeButton, removeAllButton;
    HWND list = nullptr;
    bool loadingStored = false;  // reading the stored list: one message for all failures
    int storedErrors = 0;
    std::string storedErrorText;
    bool reporting = false;  // a message of FinishLoading's is open
};
