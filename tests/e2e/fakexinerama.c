/* A stand-in for libXinerama.so.1 that reports the monitors named in FAKE_HEADS, so that Wine on
 * one wide Xvfb screen sees several monitors side by side (tests/e2e/test_monitors.sh builds it
 * into build/fakexinerama/ and runs Wine with it):
 *
 *   gcc -shared -fPIC -o libXinerama.so.1 fakexinerama.c
 *   Xvfb :N -screen 0 1824x768x24 +extension GLX &
 *   wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N /f   (then wineserver -k)
 *   FAKE_HEADS="0,0,1024,768;1024,0,800,600" LD_LIBRARY_PATH=<folder of the .so> wine prog.exe
 *
 * Wine then reports two monitors (EnumDisplayMonitors), a virtual screen of 1824x768 and the first
 * head as the primary monitor. Each head is x,y,width,height; at most 8. */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

typedef struct {
    int screen_number;
    short x_org, y_org, width, height;
} XineramaScreenInfo;

Bool XineramaQueryExtension(Display *d, int *event_base, int *error_base) {
    (void)d;
    *event_base = 0;
    *error_base = 0;
    return True;
}

Status XineramaQueryVersion(Display *d, int *major, int *minor) {
    (void)d;
    *major = 1;
    *minor = 1;
    return 1;
}

Bool XineramaIsActive(Display *d) {
    (void)d;
    return True;
}

XineramaScreenInfo *XineramaQueryScreens(Display *d, int *count) {
    (void)d;
    const char *spec = getenv("FAKE_HEADS");
    if (!spec) spec = "0,0,1024,768;1024,0,800,600";
    char buf[512];
    snprintf(buf, sizeof buf, "%s", spec);
    XineramaScreenInfo *heads = calloc(8, sizeof *heads);
    int n = 0;
    for (char *p = strtok(buf, ";"); p && n < 8; p = strtok(NULL, ";")) {
        int x, y, w, h;
        if (sscanf(p, "%d,%d,%d,%d", &x, &y, &w, &h) != 4) continue;
        heads[n].screen_number = n;
        heads[n].x_org = (short)x;
        heads[n].y_org = (short)y;
        heads[n].width = (short)w;
        heads[n].height = (short)h;
        n++;
    }
    *count = n;
    return heads;
}
