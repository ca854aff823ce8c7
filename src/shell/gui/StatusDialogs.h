#pragma once

#include "platform/gui/Dialogs.h"

namespace shell {

// The program's dialogs, remembering the last message shown, so that the main window's status bar can say what the
// last run did after its window has closed.
class StatusDialogs final : public platform::Dialogs
{
public:
    explicit StatusDialogs(platform::Dialogs& dialogs) : m_dialogs(dialogs) {}

    // The last message since the last take, on one line; empty when there was none.
    [[nodiscard]] QString takeLastMessage()
    {
        QString text = std::exchange(m_lastMessage, {});
        return text.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(QLatin1Char('\n'), QLatin1Char(' '));
    }

    platform::MessageAnswer message(QWidget* parent, platform::MessageIcon icon, platform::MessageButtons buttons,
                                    const QString& text) override
    {
        if (buttons == platform::MessageButtons::Ok) {
            m_lastMessage = text;
        }
        return m_dialogs.message(parent, icon, buttons, text);
    }
    QStringList chooseFiles(QWidget* parent, const platform::FileDialogRequest& request) override
    {
        return m_dialogs.chooseFiles(parent, request);
    }
    QString chooseFolder(QWidget* parent, const platform::FileDialogRequest& request) override
    {
        return m_dialogs.chooseFolder(parent, request);
    }
    std::optional<platform::FontChoice> chooseFont(QWidget* parent, const platform::FontChoice& current) override
    {
        return m_dialogs.chooseFont(parent, current);
    }

private:
    platform::Dialogs& m_dialogs;
    QString m_lastMessage;
};

} // namespace shell
