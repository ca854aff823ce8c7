#pragma once

#include <QPushButton>
#include <QString>
#include <QTest>
#include <QWidget>

namespace testsupport {

// The control of that object name in a window; a missing one ends the test run.
template <typename T = QWidget> T* control(QWidget& window, const QString& name)
{
    auto* found = window.findChild<T*>(name);
    if (found == nullptr) {
        qFatal("no control %s", qPrintable(name));
    }
    return found;
}

inline void click(QWidget& window, const QString& name)
{
    QTest::mouseClick(control<QPushButton>(window, name), Qt::LeftButton);
}

} // namespace testsupport
