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

// The same with its text: a label's, a button's, a check box's.
template <typename T> T* named(QWidget* parent, const char* name, const QString& text)
{
    auto* widget = named<T>(parent, name);
    widget->setText(text);
    return widget;
}

// The same with a tooltip.
template <typename T> T* named(QWidget* parent, const char* name, const QString& text, const QString& tip)
{
    auto* widget = named<T>(parent, name, text);
    widget->setToolTip(tip);
    return widget;
}

} // namespace platform
