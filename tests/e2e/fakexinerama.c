/* A stand-in for libXinerama.so.1 that reports the monitors named in FAKE_HEADS ("x,y,w,h;...", at
 * most 8, the first the primary), so that Wine without XRandR sees several monitors on one wide
 * Xvfb screen. tests/e2e/test_monitors.sh builds it and runs Wine with it. */
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

typedef struct {
    int screen_number;
    short x_org, y_org, width, height;
} XineramaScreenInfo;

Bool XineramaQueryExtension(Display *d, int *event_base, int *error_base) {
    *event_base = *error_base = 0;
    return True;
}

Status XineramaQueryVersion(Display *d, int *major, int *minor) {
    *major = *minor = 1;
    return 1;
}

Bool XineramaIsActive(Display *d) { return True; }

XineramaScreenInfo *XineramaQueryScreens(Display *d, int *count) {
    const char *wanted = getenv("FAKE_HEADS");
    char buf[512];
    snprintf(buf, sizeof buf, "%s", wanted ? wanted : "0,0,1024,768;1024,0,800,600");
    XineramaScreenInfo *heads = calloc(8, sizeof *heads);
    int n = 0;
    for (char *p = strtok(buf, ";"); p && n < 8; p = strtok(NULL, ";")) {
        int x, y, w, h;
        if (sscanf(p, "%d,%d,%d,%d", &x, &y, &w, &h) != 4) continue;
        heads[n] = (XineramaScreenInfo){n, (short)x, (short)y, (short)w, (short)h};
        n++;
    }
    *count = n;
    return heads;
}
