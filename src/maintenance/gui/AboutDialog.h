#pragma once

#include "platform/FileVersion.h"
#include "platform/gui/ShellOpen.h"

#include <QDialog>

class QDialogButtonBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace platform {
class Dialogs;
}

namespace maintenance {

// The About window: the program's name, its version, a short description and
// a link to the maker's web site.
class AboutDialog : public QDialog
{
    Q_OBJECT

public:
    // The desktop's "Open"; when it refuses, the window names what to open by hand.
    using ShellOpen = platform::ShellOpen;

    AboutDialog(platform::Dialogs& dialogs, const QString& programFolder, QWidget* parent = nullptr);

    // At least a width of some characters, so that the texts and fields read well at the first opening.
    [[nodiscard]] QSize sizeHint() const override;

    // Replaces the desktop's "Open" (tests record what would be opened).
    void setShellOpen(ShellOpen open) { m_shellOpen = std::move(open); }

    // "버전 " and the major, minor and revision numbers; the revision is the
    // fourth field of a file version.
    [[nodiscard]] static QString versionLine(const platform::FileVersion& version);
    // The maker's web site that the maker's name opens.
    [[nodiscard]] static QString webAddress();

private slots:
    void onWebsiteClicked();

private:
    void createWidgets();
    void createLayout();
    void applyTexts();

    platform::Dialogs& m_dialogs;
    ShellOpen m_shellOpen;

    QLabel* m_iconLabel = nullptr;
    QLabel* m_nameLabel = nullptr;
    QLabel* m_versionLabel = nullptr;
    QPushButton* m_websiteButton = nullptr;
    QPlainTextEdit* m_descriptionText = nullptr;
    QDialogButtonBox* m_buttons = nullptr;
    QPushButton* m_okButton = nullptr;
};

} // namespace maintenance
