#include "settings/Settings.h"

Settings gSettings = {};
int currentViewLeftRight = 0;
int currentViewNearFar = 0;
float frontCyclePhase = 0.0f;
float backCyclePhase = 0.0f;
