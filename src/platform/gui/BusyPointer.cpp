#include "platform/gui/BusyPointer.h"

#include <QApplication>
#include <QCursor>

namespace platform {

BusyPointer::BusyPointer()
{
    set();
}

BusyPointer::~BusyPointer()
{
    restore();
}

void BusyPointer::set()
{
    if (!m_active) {
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        m_active = true;
    }
}

void BusyPointer::restore()
{
    if (m_active) {
        QApplication::restoreOverrideCursor();
        m_active = false;
    }
}

} // namespace platform
