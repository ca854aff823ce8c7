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
    // The desktop's "Open"; when it refuses, the window names what to open by hand.
    using ShellOpen = platform::ShellOpen;

    // Replaces the desktop's "Open" (tests record what would be opened).
    void setShellOpen(ShellOpen open) { m_shellOpen = std::move(open); }

    // At least a width of some characters, so that the texts and fields read well at the first opening.
    [[nodiscard]] QSize sizeHint() const override;

protected:
    NoticeDialog(platform::Dialogs& dialogs, const char* name, const QString& title, int widthInCharacters,
                 QWidget* parent);

    // A box of a text whose CR LF pairs are its line breaks, its lines wrapped to its width.
    [[nodiscard]] static QPlainTextEdit* textBox(QWidget* parent, const char* name, const QString& text);
    // Ends the window's layout with the OK button, which takes the focus, and gives the window its size.
    void finishWithOkButton(QVBoxLayout* layout);
    void openForUser(const QString& pathOrAddress);

    platform::Dialogs& m_dialogs;

private:
    ShellOpen m_shellOpen;
    int m_widthInCharacters;
};

} // namespace maintenance
