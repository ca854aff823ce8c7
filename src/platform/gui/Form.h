#pragma once

#include "platform/gui/Twips.h"

#include <QRect>
#include <QShowEvent>

namespace platform {

// What every window of the program shares: Form_Load runs once, at the first
// show, when the window has its screen; the controls are placed and the window
// sized in twips, as the forms are drawn.
template <class Base> class Form : public Base
{
public:
    using Base::Base;

protected:
    virtual void Form_Load() = 0;

    void showEvent(QShowEvent* event) override
    {
        Base::showEvent(event);
        if (!m_loaded) {
            m_loaded = true;
            Form_Load();
        }
    }

    // A control's geometry given in twips, in this window's pixels.
    [[nodiscard]] QRect twips(int left, int top, int width, int height) const
    {
        return twipsRect(left, top, width, height, this);
    }

    // Fixes the size of the window's client area, given in twips.
    void setFixedTwipsSize(int width, int height)
    {
        this->setFixedSize(twipsToPixels(width, this), twipsToPixels(height, this));
    }

private:
    bool m_loaded = false;
};

} // namespace platform
