#include "platform/gui/WindowRun.h"

#include <QProgressBar>
#include <QPushButton>
#include <QVariant>

namespace platform {

namespace {

// The window's property that says a run is going on.
constexpr char kRunningProperty[] = "byeorisolRunning";

} // namespace

WindowRun::WindowRun(QWidget* window, QProgressBar* progressBar, QPushButton* cancelButton, RunControl& control)
    : m_window(window), m_progressBar(progressBar), m_cancelButton(cancelButton), m_focus(window->focusWidget())
{
    m_window->setProperty(kRunningProperty, true);
    // The direct children: a box or a splitter takes its own controls along.
    for (QWidget* child : m_window->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child != m_cancelButton && child != m_progressBar && !child->isAncestorOf(m_cancelButton) &&
            !child->isAncestorOf(m_progressBar) && child->isEnabled() && !child->isWindow()) {
            child->setEnabled(false);
            m_disabled.append(child);
        }
    }
    m_progressBar->setRange(0, 0);
    m_progressBar->setVisible(true);
    // Wired before it is usable: a click as soon as it is enabled cancels the run.
    m_cancel = QObject::connect(m_cancelButton, &QPushButton::clicked, m_cancelButton, [this, &control] {
        control.cancel();
        // Once asked, the run stops at its next step: a second click would add nothing.
        m_cancelButton->setEnabled(false);
    });
    m_cancelButton->setEnabled(true);
    m_cancelButton->setFocus();
}

WindowRun::~WindowRun()
{
    QObject::disconnect(m_cancel);
    m_cancelButton->setEnabled(false);
    m_progressBar->setVisible(false);
    for (const QPointer<QWidget>& widget : m_disabled) {
        if (widget) {
            widget->setEnabled(true);
        }
    }
    m_window->setProperty(kRunningProperty, false);
    if (m_focus && m_focus->isEnabled()) {
        m_focus->setFocus();
    }
}

bool WindowRun::running(const QWidget* window)
{
    return window->property(kRunningProperty).toBool();
}

void WindowRun::prepare(QProgressBar* progressBar, QPushButton* cancelButton)
{
    QSizePolicy keepPlace = progressBar->sizePolicy();
    keepPlace.setRetainSizeWhenHidden(true);
    progressBar->setSizePolicy(keepPlace);
    progressBar->setVisible(false);
    cancelButton->setEnabled(false);
    cancelButton->setAutoDefault(false);
}

} // namespace platform
