/* Drops files on the window at a point of the X screen, as a file manager
 * does, by the XDND protocol; for the end-to-end tests, which start it from
 * Wine like any program. Built for the host, not for Windows.
 *   xdnd_drop X Y FILE...   (X, Y on the root window; FILE as Unix paths)
 * Exits 0 when the target took the drop, 1 when it refused it or did not
 * answer, 2 on bad arguments. */
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <time.h>

static Display* display;
static Window source, target;

static Atom atom(const char* name)
{
    return XInternAtom(display, name, False);
}

static void sendXdnd(const char* message, long l1, long l2, long l3, long l4)
{
    XEvent e;
    memset(&e, 0, sizeof e);
    e.xclient.type = ClientMessage;
    e.xclient.window = target;
    e.xclient.message_type = atom(message);
    e.xclient.format = 32;
    e.xclient.data.l[0] = (long)source;
    e.xclient.data.l[1] = l1;
    e.xclient.data.l[2] = l2;
    e.xclient.data.l[3] = l3;
    e.xclient.data.l[4] = l4;
    XSendEvent(display, target, False, NoEventMask, &e);
    XFlush(display);
}

/* Hands the file list to the target when it asks for it. */
static void answerRequest(const XSelectionRequestEvent* request, const char* uris)
{
    XEvent reply;
    memset(&reply, 0, sizeof reply);
    reply.xselection.type = SelectionNotify;
    reply.xselection.requestor = request->requestor;
    reply.xselection.selection = request->selection;
    reply.xselection.target = request->target;
    reply.xselection.time = request->time;
    reply.xselection.property = None;
    if (request->target == atom("text/uri-list")) {
        XChangeProperty(display, request->requestor, request->property, request->target, 8,
                        PropModeReplace, (const unsigned char*)uris, (int)strlen(uris));
        reply.xselection.property = request->property;
    }
    XSendEvent(display, request->requestor, False, NoEventMask, &reply);
    XFlush(display);
}

/* Waits up to five seconds for the next event; 0 when none came. */
static int nextEvent(XEvent* event)
{
    for (int waited = 0; waited < 500; waited++) {
        if (XPending(display)) {
            XNextEvent(display, event);
            return 1;
        }
        struct timespec tick = {0, 10 * 1000 * 1000};
        nanosleep(&tick, NULL);
    }
    return 0;
}

int main(int argc, char** argv)
{
    if (argc < 4 || !(display = XOpenDisplay(NULL)))
        return 2;
    int x = atoi(argv[1]), y = atoi(argv[2]);
    Window root = DefaultRootWindow(display);
    int tx, ty;
    XTranslateCoordinates(display, root, root, x, y, &tx, &ty, &target);
    if (!target)
        return 1;

    static char uris[16384];
    for (int i = 3; i < argc; i++)
        snprintf(uris + strlen(uris), sizeof uris - strlen(uris), "file://%s\r\n", argv[i]);

    source = XCreateSimpleWindow(display, root, -10, -10, 1, 1, 0, 0, 0);
    XSetSelectionOwner(display, atom("XdndSelection"), source, CurrentTime);
    sendXdnd("XdndEnter", 5L << 24, (long)atom("text/uri-list"), 0, 0);
    sendXdnd("XdndPosition", 0, ((long)x << 16) | y, CurrentTime, (long)atom("XdndActionCopy"));

    int dropped = 0;
    XEvent event;
    while (nextEvent(&event)) {
        if (event.type == SelectionRequest) {
            answerRequest(&event.xselectionrequest, uris);
        } else if (event.type == ClientMessage &&
                   event.xclient.message_type == atom("XdndStatus")) {
            if (!(event.xclient.data.l[1] & 1))
                return 1;
            if (!dropped)
                sendXdnd("XdndDrop", 0, CurrentTime, 0, 0);
            dropped = 1;
        } else if (event.type == ClientMessage &&
                   event.xclient.message_type == atom("XdndFinished")) {
            return event.xclient.data.l[1] & 1 ? 0 : 1;
        }
    }
    return 1;
}
