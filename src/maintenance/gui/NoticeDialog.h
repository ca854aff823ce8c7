#pragma once

#include "platform/gui/ShellOpen.h"

#include <QDialog>

class QPlainTextEdit;
class QVBoxLayout;

namespace platform {
class Dialogs;
}

namespace maintenance {

// What the About window and the backup guide share: fixed texts in a window that asks for a width of some characters
// at its first opening, an OK button that Enter presses, and what it opens with the desktop's "Open".
class NoticeDialog : public QDialog
{
    Q_OBJECT

public:
    // Replaces the desktop's "Open" (tests record what would be opened); when it refuses, the window names what to
    // open by hand.
    void setShellOpen(platform::ShellOpen open) { m_shellOpen = std::move(open); }

protected:
    NoticeDialog(platform::Dialogs& dialogs, const char* name, const QString& title, QWidget* parent);

    // A box of a text whose CR LF pairs are its line breaks, its lines wrapped to its width.
    [[nodiscard]] static QPlainTextEdit* textBox(QWidget* parent, const char* name, const QString& text);
    // Ends the window's layout with the OK button, which takes the focus, and gives the window its size: at the first
    // opening at least a width of some characters, so that the texts read in lines of some length.
    void finishWithOkButton(QVBoxLayout* layout, int widthInCharacters);
    void openForUser(const QString& pathOrAddress);

    platform::Dialogs& m_dialogs;

private:
    platform::ShellOpen m_shellOpen;
};

} // namespace maintenance
