// Stands in for other programs' windows in end-to-end tests under X11 (test-window-win32.cpp on Windows).
//   hold CLASS TITLE   shows a top-level window of that class and title, prints "ready", keeps it until stdin closes
//   close PID MS       sends the close request to the first viewable window of process PID, waiting up to MS ms for one

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

int hold(Display* display, const std::string& className, const std::string& title)
{
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 10, 10, 200, 100, 0, 0, 0);
    std::string name = className;
    XClassHint hint{name.data(), name.data()};
    XSetClassHint(display, window, &hint);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const auto* bytes = reinterpret_cast<const unsigned char*>(title.data());
    const int length = static_cast<int>(title.size());
    for (const Atom property : {XA_WM_NAME, XInternAtom(display, "_NET_WM_NAME", False)}) {
        XChangeProperty(display, window, property, utf8, 8, PropModeReplace, bytes, length);
    }
    XMapWindow(display, window);
    XSync(display, False);
    std::puts("ready");
    std::fflush(stdout);
    char buffer[64];
    while (read(STDIN_FILENO, buffer, sizeof buffer) > 0) {
    }
    XDestroyWindow(display, window);
    XSync(display, False);
    return 0;
}

// The first viewable top-level window whose _NET_WM_PID is pid, or 0.
Window findWindowOf(Display* display, unsigned long pid)
{
    Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count) == 0) {
        return 0;
    }
    const Atom netWmPid = XInternAtom(display, "_NET_WM_PID", False);
    Window found = 0;
    for (unsigned int i = 0; i < count && found == 0; ++i) {
        Atom type = None;
        int format = 0;
        unsigned long items = 0, after = 0;
        unsigned char* data = nullptr;
        XWindowAttributes attributes{};
        if (XGetWindowProperty(display, children[i], netWmPid, 0, 1, False, XA_CARDINAL, &type, &format, &items, &after,
                               &data) == Success &&
            data != nullptr && items == 1 && *reinterpret_cast<unsigned long*>(data) == pid &&
            XGetWindowAttributes(display, children[i], &attributes) != 0 && attributes.map_state == IsViewable) {
            found = children[i];
        }
        XFree(data);
    }
    XFree(children);
    return found;
}

int close(Display* display, unsigned long pid, long waitMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while (std::chrono::steady_clock::now() < deadline) {
        const Window window = findWindowOf(display, pid);
        if (window != 0) {
            XEvent event{};
            event.xclient.type = ClientMessage;
            event.xclient.window = window;
            event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
            event.xclient.format = 32;
            event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
            event.xclient.data.l[1] = CurrentTime;
            XSendEvent(display, window, False, NoEventMask, &event);
            XSync(display, False);
            std::puts("closed");
            return 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::puts("no window");
    return 1;
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fputs("usage: test-window hold CLASS TITLE | close PID MS\n", stderr);
        return 2;
    }
    const std::unique_ptr<Display, int (*)(Display*)> display(XOpenDisplay(nullptr), XCloseDisplay);
    if (!display) {
        std::fputs("test-window: no X display\n", stderr);
        return 2;
    }
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
    if (std::strcmp(argv[1], "hold") == 0) {
        return hold(display.get(), argv[2], argv[3]);
    }
    if (std::strcmp(argv[1], "close") == 0) {
        return close(display.get(), std::strtoul(argv[2], nullptr, 10), std::strtol(argv[3], nullptr, 10));
    }
    return 2;
}
