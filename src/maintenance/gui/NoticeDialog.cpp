#include "maintenance/gui/NoticeDialog.h"

#include "platform/gui/NamedWidget.h"
#include "platform/gui/WindowSettings.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace maintenance {

NoticeDialog::NoticeDialog(platform::Dialogs& dialogs, const char* name, const QString& title, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_shellOpen(platform::openWithShell)
{
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(title);
}

QPlainTextEdit* NoticeDialog::textBox(QWidget* parent, const char* name, const QString& text)
{
    auto* box = platform::named<QPlainTextEdit>(parent, name);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    box->setPlainText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    return box;
}

void NoticeDialog::finishWithOkButton(QVBoxLayout* layout, int widthInCharacters)
{
    auto* buttons = platform::named<QDialogButtonBox>(this, "buttons");
    QPushButton* ok = buttons->addButton(QDialogButtonBox::Ok);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setText(QStringLiteral("확인"));
    ok->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    platform::rememberGeometry(this, widthInCharacters);
    // Enter closes the window, as in any message of its kind.
    ok->setFocus();
}

void NoticeDialog::openForUser(const QString& pathOrAddress)
{
    platform::openForUser(m_dialogs, this, m_shellOpen, pathOrAddress);
}

} // namespace maintenance
