#pragma once
#include "app/Visibility.h"
#include "view/AquariumView.h"
#include "win/Window.h"

// The top-level window: maximised, with no caption, menu or border; its only child is the view.
class CMainFrame : public win::Window {
public:
    // Creates the frame from the resources of `resourceId` (title string, menu) with `style`.
    bool LoadFrame(int resourceId, DWORD style, DWORD exStyle = 0);
    void CenterWindow();

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    AquariumView view;

protected:
    void OnFinalMessage() override;

private:
    void PreCreateWindow(CREATESTRUCTA& cs);
    int OnCreate();
    // Routes a command to the view first, then to the application; true when handled.
    bool OnCmdMsg(int id);

    // Minimised, locked away or on a dark display the view renders nothing.
    Visibility visibility_;
};
