#pragma once
// The command ids that reach the view (WM_COMMAND); the view's mouse mode is the id of the last
// command it received.
enum Command : int {
    FishSettingsCmd = 1034,      // "  Add/Delete Fish": the Fish Settings dialog
    TouchFishCmd = 1035,         // "  Touch Fish": a click makes the fish under it dart
    FeedFishCmd = 1036,          // "  Feed Fish" (the starting mode): a click drops a pellet
    ZoomInCmd = 1037,            // "  Zoom In Fish"
    ZoomOutCmd = 1038,           // "  Zoom Out Fish"
    AquariumSettingsCmd = 1040,  // the Aquarium Settings dialog
    ExitCmd = 1042,              // "  Exit"
    HiddenCursorMode = 1043,     // the cursor is hidden over the view
    RippleMode = 1045,           // clicks ripple the picture; the frame shows the magnifier
    ProbeMode = 1046,            // clicks run the probe sweep without dropping anything
    MarkerMode = 1047,           // a click marks the picked point with a cone
    QuietMode1 = 1048,           // no click action
    QuietMode2 = 1049,           // no click action
    CustomMusicCmd = 1050,       // "  Custom Music"
    CustomBackgroundCmd = 1052,  // "  Custom Background"
};
