// Stands in for other programs' windows in end-to-end tests on Windows (test-window-x11.cpp under X11).
//   hold CLASS TITLE   shows a top-level window of that class and title, prints "ready", keeps it until stdin closes
//   close PID MS       asks the first visible top-level window of process PID to close, waiting up to MS ms for one

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <windows.h>

namespace {

int hold(const std::wstring& className, const std::wstring& title)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = className.c_str();
    if (RegisterClassW(&windowClass) == 0) {
        return 2;
    }
    HWND window = CreateWindowExW(0, className.c_str(), title.c_str(), WS_OVERLAPPEDWINDOW, 10, 10, 200, 100, nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
    if (window == nullptr) {
        return 2;
    }
    ShowWindow(window, SW_SHOWNOACTIVATE);
    std::puts("ready");
    std::fflush(stdout);
    // Standard input is read on a thread of its own; its end ends the message loop.
    const DWORD mainThread = GetCurrentThreadId();
    std::thread([mainThread] {
        char buffer[64];
        DWORD read = 0;
        while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &read, nullptr) && read > 0) {
        }
        PostThreadMessageW(mainThread, WM_QUIT, 0, 0);
    }).detach();
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        DispatchMessageW(&message);
    }
    DestroyWindow(window);
    return 0;
}

struct Search
{
    DWORD pid;
    HWND found;
};

BOOL CALLBACK visit(HWND window, LPARAM data)
{
    auto* search = reinterpret_cast<Search*>(data);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid == search->pid && IsWindowVisible(window) && GetWindow(window, GW_OWNER) == nullptr) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

int close(DWORD pid, long waitMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    while (std::chrono::steady_clock::now() < deadline) {
        Search search{pid, nullptr};
        EnumWindows(visit, reinterpret_cast<LPARAM>(&search));
        if (search.found != nullptr) {
            PostMessageW(search.found, WM_CLOSE, 0, 0);
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
    if (std::strcmp(argv[1], "hold") == 0) {
        // The arguments arrive in the code page; the title is Korean, so they are read again as the wide command line.
        int count = 0;
        LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
        if (arguments == nullptr || count != 4) {
            return 2;
        }
        return hold(arguments[2], arguments[3]);
    }
    if (std::strcmp(argv[1], "close") == 0) {
        return close(static_cast<DWORD>(std::strtoul(argv[2], nullptr, 10)), std::strtol(argv[3], nullptr, 10));
    }
    return 2;
}
