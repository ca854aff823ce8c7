#pragma once

#include <QString>
#include <QWidget>

namespace platform {

// A new control of type T on parent, with the object name by which the tests and the window's own code know it.
template <typename T> T* named(QWidget* parent, const char* name)
{
    auto* widget = new T(parent);
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace platform
