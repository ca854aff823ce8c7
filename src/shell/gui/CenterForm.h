#pragma once

class QWidget;

namespace shell {

// Centres a window on its screen; a minimised or maximised window, or one
// whose centred position does not fit 16 bits in twips, stays where it is.
void CenterForm(QWidget* window);

} // namespace shell
