#include "platform/gui/RunDialog.h"

#include "platform/gui/Dialogs.h"
#include "platform/gui/NamedWidget.h"
#include "platform/gui/VersionFileDialog.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <utility>

namespace platform {

RunDialog::RunDialog(Dialogs& dialogs, QString programFolder, QWidget* parent)
    : QDialog(parent), m_dialogs(dialogs), m_programFolder(std::move(programFolder))
{}

void RunDialog::setVersion(const QString& path)
{
    m_versionEdit->setText(path);
}

void RunDialog::reject()
{
    if (!WindowRun::running(this)) {
        QDialog::reject();
    }
}

RunDialog::PathField RunDialog::pathField(const char* name, const QString& label)
{
    const QByteArray prefix(name);
    PathField field{named<QLabel>(this, (prefix + "Label").constData(), label),
                    named<QLineEdit>(this, (prefix + "Edit").constData()),
                    named<QPushButton>(this, (prefix + "BrowseButton").constData(), QStringLiteral("찾아보기..."))};
    field.label->setBuddy(field.edit);
    return field;
}

QLineEdit* RunDialog::addVersionRow(QGridLayout* grid, int row, const char* name, const QString& label,
                                    const QString& title)
{
    const PathField field = pathField(name, label);
    grid->addWidget(field.label, row, 0);
    grid->addWidget(field.edit, row, 1);
    grid->addWidget(field.browseButton, row, 2);
    connect(field.browseButton, &QPushButton::clicked, this,
            [this, edit = field.edit, title] { chooseVersion(edit, title); });
    return field.edit;
}

void RunDialog::chooseVersion(QLineEdit* edit, const QString& title)
{
    FileDialogRequest request;
    request.title = title;
    request.filter = QStringLiteral("역본파일 (*.dat)");
    request.acceptLabel = QStringLiteral("선택");
    if (const QString path = chooseVersionFile(m_dialogs, this, m_programFolder, request); !path.isEmpty()) {
        edit->setText(path);
    }
}

void RunDialog::makeRunControls()
{
    m_progressBar = named<QProgressBar>(this, "progressBar");
    m_cancelButton = named<QPushButton>(this, "cancelButton", QStringLiteral("취소"));
    WindowRun::prepare(m_progressBar, m_cancelButton);
}

QDialogButtonBox* RunDialog::makeCloseButtons()
{
    auto* buttons = named<QDialogButtonBox>(this, "buttons");
    QPushButton* close = buttons->addButton(QDialogButtonBox::Close);
    close->setObjectName(QStringLiteral("closeButton"));
    close->setText(QStringLiteral("닫기"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    return buttons;
}

} // namespace platform
