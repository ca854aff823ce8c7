#include "platform/gui/QtDialogs.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFontDialog>
#include <QMessageBox>
#include <QPushButton>

namespace platform {

namespace {

QMessageBox::Icon toQt(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Critical:
        return QMessageBox::Critical;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Exclamation:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

} // namespace

MessageAnswer QtDialogs::message(QWidget* parent, MessageIcon icon, MessageButtons buttons, const QString& text)
{
    // The system's texts break lines with CR LF, a few with CR alone; the label wants LF.
    const QString shown = QString(text)
                              .replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
                              .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(toQt(icon), programTitle(), shown, QMessageBox::NoButton, parent);
    box.setTextFormat(Qt::PlainText);
    const auto button = [&box](const QString& label, QMessageBox::ButtonRole role, const char* name) {
        QPushButton* made = box.addButton(label, role);
        made->setObjectName(QString::fromLatin1(name));
        return made;
    };
    if (buttons == MessageButtons::YesNo || buttons == MessageButtons::YesNoDefaultNo) {
        QPushButton* yes = button(QStringLiteral("예"), QMessageBox::YesRole, "yes");
        QPushButton* no = button(QStringLiteral("아니요"), QMessageBox::NoRole, "no");
        box.setDefaultButton(buttons == MessageButtons::YesNoDefaultNo ? no : yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() != nullptr && box.buttonRole(box.clickedButton()) == QMessageBox::YesRole
                   ? MessageAnswer::Yes
                   : MessageAnswer::No;
    }
    if (buttons == MessageButtons::SaveDiscardCancel) {
        QPushButton* save = button(QStringLiteral("저장"), QMessageBox::AcceptRole, "save");
        QPushButton* discard = button(QStringLiteral("저장 안 함"), QMessageBox::DestructiveRole, "discard");
        QPushButton* cancel = button(QStringLiteral("취소"), QMessageBox::RejectRole, "cancel");
        box.setDefaultButton(cancel);
        box.setEscapeButton(cancel);
        box.exec();
        return box.clickedButton() == save      ? MessageAnswer::Save
               : box.clickedButton() == discard ? MessageAnswer::Discard
                                                : MessageAnswer::Cancel;
    }
    QPushButton* ok = button(QStringLiteral("확인"), QMessageBox::AcceptRole, "ok");
    box.setEscapeButton(ok);
    box.exec();
    return MessageAnswer::Ok;
}

QStringList QtDialogs::chooseFiles(QWidget* parent, const FileDialogRequest& request)
{
    QFileDialog dialog(parent, request.title, request.folder, request.filter);
    dialog.setFileMode(request.multiple ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (!request.acceptLabel.isEmpty()) {
        dialog.setLabelText(QFileDialog::Accept, request.acceptLabel);
    }
    if (dialog.exec() != QDialog::Accepted) {
        return {};
    }
    QStringList files = dialog.selectedFiles();
    for (QString& file : files) {
        file = QDir::toNativeSeparators(file);
    }
    return files;
}

QString QtDialogs::chooseFolder(QWidget* parent, const FileDialogRequest& request)
{
    QFileDialog dialog(parent, request.title, request.folder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (!request.acceptLabel.isEmpty()) {
        dialog.setLabelText(QFileDialog::Accept, request.acceptLabel);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return QDir::toNativeSeparators(dialog.selectedFiles().first());
}

std::optional<FontChoice> QtDialogs::chooseFont(QWidget* parent, const FontChoice& current)
{
    bool accepted = false;
    const QFont font = QFontDialog::getFont(&accepted, current.font, parent);
    if (!accepted) {
        return std::nullopt;
    }
    const QColor color = QColorDialog::getColor(current.color, parent);
    return FontChoice{font, color.isValid() ? color : current.color};
}

} // namespace platform
