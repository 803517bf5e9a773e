#pragma once
// The in-memory copy of the sections "Aquarium Settings" and "Fish Number" of PondelSet.ini.
// One process-wide record, all zero until LoadSettings fills it; the scene reads it every frame.
#include <cstdint>

#ifdef _WIN32
#include <windef.h>
#else
typedef std::uint32_t COLORREF;  // 0x00BBGGRR, red in the low byte
#endif

struct Settings {
    int showWater;          // "Show Water"
    int showLight;          // "Show Light"
    int showTerra;          // "Show Terra"
    int frontFixed;         // "FRONT GUDING"
    COLORREF frontColor;    // "FRONTCOLOR"
    int frontGradual;       // "FRONT MANJIANBIAN"
    COLORREF frontColor1;   // "FRONT COLOR1"
    COLORREF frontColor2;   // "FRONT COLOR2"
    int frontAuto;          // "FRONT AUTOJIANBIAN"
    int lockFront;          // "CHECK LOCKFORE"
    float lockFrontPhase;   // "LOCKFORE ROT"
    int backFixed;          // "BACK GUDING"
    COLORREF backColor;     // "BACKCOLOR"
    int backGradual;        // "BACK MANJIANBIAN"
    COLORREF backColor1;    // "BACK COLOR1"
    COLORREF backColor2;    // "BACK COLOR2"
    int backAuto;           // "BACK AUTOJIANBIAN"
    int lockBack;           // "CHECK LOCKBACK"
    float lockBackPhase;    // "LOCKBACK ROT"
    int volume;             // "YINLIANG"
    int bubbleSetting;      // "QIPAONUM"
    int backgroundVariant;  // "BACKGROUND"
    int fishCounts[20];     // section "Fish Number", Fish0 .. Fish19
    int fogDensity;         // "FOGNONGDU"
    int lightIntensity;     // "LIGHTQIANGDU"
    int autoViews;          // "CHECK VIEWS"
    int viewLeftRight;      // "VIEWSLEFTRIGHT"
    int viewNearFar;        // "VIEWSNEARFAR"
};

// The process-wide record.
extern Settings gSettings;

// The current view offsets, kept beside the record.
extern int currentViewLeftRight;
extern int currentViewNearFar;

// The colour-cycle phases of the light and the back wall, saved by the Aquarium Settings dialog.
extern float frontCyclePhase;
extern float backCyclePhase;
