/* Drops one file on an X window the way a file manager does (XDND): enter,
 * position, drop, the file's URI on request, until the target says it has
 * finished. For dropping on a program under Wine from outside it.
 *
 *   xdnd_send WINDOW ROOT_X ROOT_Y URI
 *
 * Exits 0 when the target accepted and finished the drop. */
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <time.h>

static Display* dpy;
static Window source, target;
static Atom aAware, aEnter, aPosition, aStatus, aDrop, aFinished, aSelection, aCopy, aUriList;

static void sendMessage(Atom type, long l1, long l2, long l3, long l4) {
    XEvent event;
    memset(&event, 0, sizeof event);
    event.xclient.type = ClientMessage;
    event.xclient.display = dpy;
    event.xclient.window = target;
    event.xclient.message_type = type;
    event.xclient.format = 32;
    event.xclient.data.l[0] = (long)source;
    event.xclient.data.l[1] = l1;
    event.xclient.data.l[2] = l2;
    event.xclient.data.l[3] = l3;
    event.xclient.data.l[4] = l4;
    XSendEvent(dpy, target, False, NoEventMask, &event);
    XFlush(dpy);
}

static void answerRequest(const XSelectionRequestEvent* request, const char* uri) {
    XEvent reply;
    memset(&reply, 0, sizeof reply);
    reply.xselection.type = SelectionNotify;
    reply.xselection.display = request->display;
    reply.xselection.requestor = request->requestor;
    reply.xselection.selection = request->selection;
    reply.xselection.target = request->target;
    reply.xselection.time = request->time;
    reply.xselection.property = None;
    if (request->target == aUriList) {
        XChangeProperty(dpy, request->requestor, request->property, aUriList, 8, PropModeReplace,
                        (const unsigned char*)uri, (int)strlen(uri));
        reply.xselection.property = request->property;
    }
    XSendEvent(dpy, request->requestor, False, NoEventMask, &reply);
    XFlush(dpy);
}

/* The next event, or 0 after the time-out in milliseconds. */
static int nextEvent(XEvent* event, int timeoutMs) {
    struct timeval wait = {timeoutMs / 1000, (timeoutMs % 1000) * 1000};
    while (!XPending(dpy)) {
        fd_set fds;
        FD_ZERO(&fds);
        FD_SET(ConnectionNumber(dpy), &fds);
        if (select(ConnectionNumber(dpy) + 1, &fds, NULL, NULL, &wait) <= 0)
            return 0;
    }
    XNextEvent(dpy, event);
    return 1;
}

int main(int argc, char** argv) {
    if (argc != 5) {
        fprintf(stderr, "usage: xdnd_send WINDOW ROOT_X ROOT_Y URI\n");
        return 2;
    }
    target = (Window)strtoul(argv[1], NULL, 0);
    const long x = atol(argv[2]), y = atol(argv[3]);
    char* uri = malloc(strlen(argv[4]) + 3);
    sprintf(uri, "%s\r\n", argv[4]);

    dpy = XOpenDisplay(NULL);
    if (!dpy)
        return 2;
    aAware = XInternAtom(dpy, "XdndAware", False);
    aEnter = XInternAtom(dpy, "XdndEnter", False);
    aPosition = XInternAtom(dpy, "XdndPosition", False);
    aStatus = XInternAtom(dpy, "XdndStatus", False);
    aDrop = XInternAtom(dpy, "XdndDrop", False);
    aFinished = XInternAtom(dpy, "XdndFinished", False);
    aSelection = XInternAtom(dpy, "XdndSelection", False);
    aCopy = XInternAtom(dpy, "XdndActionCopy", False);
    aUriList = XInternAtom(dpy, "text/uri-list", False);

    Atom type;
    int format;
    unsigned long count, after;
    unsigned char* version = NULL;
    if (XGetWindowProperty(dpy, target, aAware, 0, 1, False, XA_ATOM, &type, &format, &count,
                           &after, &version) != Success ||
        count == 0) {
        fprintf(stderr, "window 0x%lx is not XdndAware\n", (unsigned long)target);
        return 1;
    }
    const long protocol = *(Atom*)version < 5 ? (long)*(Atom*)version : 5;
    XFree(version);

    source = XCreateSimpleWindow(dpy, DefaultRootWindow(dpy), -10, -10, 1, 1, 0, 0, 0);
    XSetSelectionOwner(dpy, aSelection, source, CurrentTime);
    sendMessage(aEnter, protocol << 24, (long)aUriList, 0, 0);
    sendMessage(aPosition, 0, (x << 16) | y, CurrentTime, (long)aCopy);

    int accepted = 0, dropped = 0;
    for (;;) {
        XEvent event;
        if (!nextEvent(&event, 10000)) {
            fprintf(stderr, "no answer from the target (accepted %d, dropped %d)\n", accepted,
                    dropped);
            return 1;
        }
        if (event.type == SelectionRequest) {
            answerRequest(&event.xselectionrequest, uri);
        } else if (event.type == ClientMessage && event.xclient.message_type == aStatus) {
            accepted = (int)(event.xclient.data.l[1] & 1);
            if (!accepted) {
                fprintf(stderr, "the target refused the drop\n");
                return 1;
            }
            if (!dropped) {
                dropped = 1;
                sendMessage(aDrop, 0, CurrentTime, 0, 0);
            }
        } else if (event.type == ClientMessage && event.xclient.message_type == aFinished) {
            return 0;
        }
    }
}
