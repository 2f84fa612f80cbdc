// SPDX-License-Identifier: BSD-2-Clause
/*
 * Asks an X window to close the way a window manager does: a ClientMessage
 * WM_PROTOCOLS carrying WM_DELETE_WINDOW.  Destroying the window (what
 * "xdotool windowclose" does) would bypass the program's close handling.
 *
 * usage: wmclose WINDOW-ID
 */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <stdio.h>
#include <stdlib.h>

/* The window must say that it understands WM_DELETE_WINDOW; otherwise a
 * window manager would not send the request either. */
static int speaks_delete(Display *dpy, Window w, Atom del)
{
    Atom *protocols;
    int i, n, found;

    if (!XGetWMProtocols(dpy, w, &protocols, &n))
        return 0;
    found = 0;
    for (i = 0; i < n; i++)
        if (protocols[i] == del)
            found = 1;
    XFree(protocols);
    return found;
}

int main(int argc, char **argv)
{
    Display *dpy;
    XEvent ev;
    Window w;
    Atom proto, del;
    char *end;

    if (argc != 2) {
        fprintf(stderr, "usage: wmclose WINDOW-ID\n");
        return 2;
    }
    w = (Window)strtoul(argv[1], &end, 0);
    if (*end != '\0' || w == 0) {
        fprintf(stderr, "wmclose: bad window id %s\n", argv[1]);
        return 2;
    }
    if ((dpy = XOpenDisplay(NULL)) == NULL) {
        fprintf(stderr, "wmclose: cannot open display\n");
        return 1;
    }
    proto = XInternAtom(dpy, "WM_PROTOCOLS", False);
    del = XInternAtom(dpy, "WM_DELETE_WINDOW", False);
    if (!speaks_delete(dpy, w, del)) {
        fprintf(stderr, "wmclose: window 0x%lx does not take WM_DELETE_WINDOW\n", w);
        XCloseDisplay(dpy);
        return 1;
    }

    ev.xclient.type = ClientMessage;
    ev.xclient.serial = 0;
    ev.xclient.send_event = True;
    ev.xclient.display = dpy;
    ev.xclient.window = w;
    ev.xclient.message_type = proto;
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = (long)del;
    ev.xclient.data.l[1] = CurrentTime;
    ev.xclient.data.l[2] = 0;
    ev.xclient.data.l[3] = 0;
    ev.xclient.data.l[4] = 0;
    XSendEvent(dpy, w, False, NoEventMask, &ev);
    XSync(dpy, False);
    XCloseDisplay(dpy);
    return 0;
}
