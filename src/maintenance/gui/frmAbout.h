#pragma once

#include "platform/FileVersion.h"
#include "platform/gui/Form.h"
#include "platform/gui/ShellOpen.h"

#include <QDialog>

class QFrame;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace platform {
class Dialogs;
}

namespace maintenance {

// The About window: the program's name, its version, a short description and
// a link to the maker's web site.
class frmAbout : public platform::Form<QDialog>
{
    Q_OBJECT

public:
    // The desktop's "Open"; when it refuses, the window names what to open by hand.
    using ShellOpen = platform::ShellOpen;

    frmAbout(platform::Dialogs& dialogs, QString programFolder, QWidget* parent = nullptr);

    // Replaces the desktop's "Open" (tests record what would be opened).
    void setShellOpen(ShellOpen open) { m_shellOpen = std::move(open); }

    // "버전 " and the major, minor and revision numbers; the revision is the
    // fourth field of a file version.
    [[nodiscard]] static QString versionLine(const platform::FileVersion& version);
    // The maker's web site that Label3 opens.
    [[nodiscard]] static QString webAddress();

public slots:
    void Label3_Click();
    void Command1_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Form_Load() override;
    void picIcon_MouseDown(Qt::MouseButton button, int shift, int x, int y);
    void createControls();
    void applyTexts();
    void placeControls();

    platform::Dialogs& m_dialogs;
    // The window opens the web site with the desktop's own working folder.
    [[maybe_unused]] QString m_programFolder;
    ShellOpen m_shellOpen;

    QLabel* picIcon = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label1 = nullptr;
    QPlainTextEdit* Text1 = nullptr;
    QPushButton* Command1 = nullptr;
    QFrame* Line2[2] = {};
    QFrame* Line3[2] = {};
};

} // namespace maintenance
