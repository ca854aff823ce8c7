#include "platform/gui/WindowSearch.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <QScopeGuard>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <memory>
#endif

namespace platform {

#ifdef Q_OS_WIN

bool topLevelWindowExists(const QString& className, const QString& title)
{
    return FindWindowW(reinterpret_cast<LPCWSTR>(className.utf16()), reinterpret_cast<LPCWSTR>(title.utf16())) !=
           nullptr;
}

#else

namespace {

struct XFreeDeleter
{
    void operator()(void* p) const { XFree(p); }
};

// Windows may vanish while the tree is walked; such errors only mean "not this one".
int ignoreXErrors(Display*, XErrorEvent*)
{
    return 0;
}

QString windowTitle(Display* display, Window window)
{
    const Atom netWmName = XInternAtom(display, "_NET_WM_NAME", False);
    const Atom utf8String = XInternAtom(display, "UTF8_STRING", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* raw = nullptr;
    if (XGetWindowProperty(display, window, netWmName, 0, 4096, False, utf8String, &type, &format, &count, &after,
                           &raw) == Success &&
        raw != nullptr) {
        std::unique_ptr<unsigned char, XFreeDeleter> data(raw);
        if (type == utf8String && format == 8) {
            return QString::fromUtf8(reinterpret_cast<const char*>(data.get()), static_cast<qsizetype>(count));
        }
    }

    XTextProperty property{};
    if (XGetWMName(display, window, &property) == 0 || property.value == nullptr) {
        return {};
    }
    std::unique_ptr<unsigned char, XFreeDeleter> value(property.value);
    const auto* text = reinterpret_cast<const char*>(property.value);
    const auto length = static_cast<qsizetype>(property.nitems);
    if (property.encoding == XA_STRING || property.encoding == utf8String) {
        return property.encoding == XA_STRING ? QString::fromLatin1(text, length) : QString::fromUtf8(text, length);
    }
    char** list = nullptr;
    int listCount = 0;
    if (Xutf8TextPropertyToTextList(display, &property, &list, &listCount) >= Success && list != nullptr) {
        QString title = listCount > 0 ? QString::fromUtf8(list[0]) : QString();
        XFreeStringList(list);
        return title;
    }
    return {};
}

bool classMatches(Display* display, Window window, const QByteArray& className)
{
    XClassHint hint{};
    if (XGetClassHint(display, window, &hint) == 0) {
        return false;
    }
    std::unique_ptr<char, XFreeDeleter> name(hint.res_name);
    std::unique_ptr<char, XFreeDeleter> cls(hint.res_class);
    return (name && className == name.get()) || (cls && className == cls.get());
}

// Top-level client windows are children of the root, or of a window manager's
// frame one or two levels below it.
bool search(Display* display, Window window, const QByteArray& className, const QString& title, int depth)
{
    Window root = 0;
    Window parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count) == 0) {
        return false;
    }
    std::unique_ptr<Window, XFreeDeleter> owned(children);
    for (unsigned int i = 0; i < count; ++i) {
        if (classMatches(display, children[i], className) && windowTitle(display, children[i]) == title) {
            return true;
        }
    }
    if (depth <= 0) {
        return false;
    }
    for (unsigned int i = 0; i < count; ++i) {
        if (search(display, children[i], className, title, depth - 1)) {
            return true;
        }
    }
    return false;
}

} // namespace

bool topLevelWindowExists(const QString& className, const QString& title)
{
    const std::unique_ptr<Display, int (*)(Display*)> display(XOpenDisplay(nullptr), XCloseDisplay);
    if (!display) {
        return false;
    }
    const XErrorHandler previous = XSetErrorHandler(ignoreXErrors);
    const auto restore = qScopeGuard([previous] { XSetErrorHandler(previous); });
    const bool found = search(display.get(), DefaultRootWindow(display.get()), className.toUtf8(), title, 2);
    XSync(display.get(), False);
    return found;
}

#endif

} // namespace platform
