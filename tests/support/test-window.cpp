// Stands in for other programs' windows in end-to-end tests, on X11 and on Windows:
//   hold CLASS TITLE   shows a top-level window of that class and title, prints "ready", keeps it until stdin closes
//   close PID MS       asks the first shown top-level window of process PID to close, waiting up to MS ms for one

#ifdef _WIN32
#include <windows.h>
#else
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <unistd.h>
#endif
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

#ifdef _WIN32
using Window = HWND;

// The arguments arrive in the code page; the title is Korean, so they are read again as the wide command line.
int hold(const char*, const char*)
{
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (arguments == nullptr || count != 4) {
        return 2;
    }
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = arguments[2];
    if (RegisterClassW(&windowClass) == 0) {
        return 2;
    }
    HWND window = CreateWindowExW(0, arguments[2], arguments[3], WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    std::puts("ready");
    std::fflush(stdout);
    // Standard input is read on a thread of its own; its end ends the message loop.
    std::thread([thread = GetCurrentThreadId()] {
        char buffer[64];
        DWORD read = 0;
        while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &read, nullptr) && read > 0) {
        }
        PostThreadMessageW(thread, WM_QUIT, 0, 0);
    }).detach();
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    DestroyWindow(window);
    return 0;
}

Window findWindowOf(unsigned long pid)
{
    std::pair<DWORD, HWND> search{static_cast<DWORD>(pid), nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* found = reinterpret_cast<std::pair<DWORD, HWND>*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != found->first || !IsWindowVisible(window) || GetWindow(window, GW_OWNER) != nullptr) {
                return TRUE;
            }
            found->second = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.second;
}

void askToClose(Window window)
{
    PostMessageW(window, WM_CLOSE, 0, 0);
}
#else
Display* display = nullptr;

int hold(const char* className, const char* title)
{
    const Window window = XCreateSimpleWindow(display, DefaultRootWindow(display), 10, 10, 200, 100, 0, 0, 0);
    std::string name = className;
    XClassHint hint{name.data(), name.data()};
    XSetClassHint(display, window, &hint);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    for (const Atom property : {XA_WM_NAME, XInternAtom(display, "_NET_WM_NAME", False)}) {
        XChangeProperty(display, window, property, utf8, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(title), static_cast<int>(std::strlen(title)));
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
Window findWindowOf(unsigned long pid)
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

void askToClose(Window window)
{
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
    XSync(display, False);
}
#endif

int close(unsigned long pid, long waitMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (; std::chrono::steady_clock::now() < deadline; std::this_thread::sleep_for(std::chrono::milliseconds(50))) {
        if (const Window window = findWindowOf(pid)) {
            askToClose(window);
            std::puts("closed");
            return 0;
        }
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
#ifndef _WIN32
    display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fputs("test-window: no X display\n", stderr);
        return 2;
    }
    XSetErrorHandler([](Display*, XErrorEvent*) { return 0; });
#endif
    if (std::strcmp(argv[1], "hold") == 0) {
        return hold(argv[2], argv[3]);
    }
    if (std::strcmp(argv[1], "close") == 0) {
        return close(std::strtoul(argv[2], nullptr, 10), std::strtol(argv[3], nullptr, 10));
    }
    return 2;
}
