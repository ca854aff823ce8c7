#pragma once

#include "platform/gui/Dialogs.h"

namespace platform {

// The real dialogs: Qt's message box, file dialog, font and colour dialogs.
class QtDialogs final : public Dialogs
{
public:
    MessageAnswer message(QWidget* parent, MessageIcon icon, MessageButtons buttons, const QString& text) override;
    QStringList chooseFiles(QWidget* parent, const FileDialogRequest& request) override;
    QString chooseFolder(QWidget* parent, const FileDialogRequest& request) override;
    std::optional<FontChoice> chooseFont(QWidget* parent, const FontChoice& current) override;
};

} // namespace platform
