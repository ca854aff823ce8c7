#pragma once

#include <QEvent>
#include <QPushButton>
#include <QString>
#include <QTest>
#include <QWidget>
#include <functional>
#include <utility>

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

// Calls act the moment the button becomes usable (enabled and shown), inside the window's own code that makes it so:
// a run's cancel button is pressed before the run's work can have ended, whatever the machine's load.
class WhenUsable : public QObject
{
public:
    template <typename Act> WhenUsable(QPushButton* button, Act act) : m_button(button), m_act(std::move(act))
    {
        button->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if ((event->type() == QEvent::EnabledChange || event->type() == QEvent::Show) && m_button->isEnabled() &&
            m_button->isVisible()) {
            m_act();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    QPushButton* m_button;
    std::function<void()> m_act;
};

} // namespace testsupport
