#pragma once

#include "platform/MessageIcon.h"

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>
#include <optional>

class QWidget;

namespace platform {

enum class MessageButtons
{
    Ok,
    YesNo,
    YesNoDefaultNo, // Enter answers No: for work that the user may not have meant
    SaveDiscardCancel, // before something drops an unsaved change: 저장 / 저장 안 함 / 취소, Enter and Escape cancel
};

enum class MessageAnswer
{
    Ok,
    Yes,
    No,
    Save,
    Discard,
    Cancel,
};

struct FileDialogRequest
{
    QString title;
    QString folder;
    QString filter;      // in Qt's form: "텍스트 파일 (*.txt)"
    QString acceptLabel; // empty for the platform's own word
    bool multiple = false;
};

struct FontChoice
{
    QFont font;
    QColor color;
};

// Every question a window asks goes through this one interface, so that
// tests can answer with a script and nothing ever waits for a person.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    // A modal message box carrying the program title.
    virtual MessageAnswer message(QWidget* parent, MessageIcon icon, MessageButtons buttons, const QString& text) = 0;

    // The chosen files as native paths; empty when the user cancelled.
    virtual QStringList chooseFiles(QWidget* parent, const FileDialogRequest& request) = 0;

    // The chosen folder as a native path; empty when the user cancelled. The request's filter is not used.
    virtual QString chooseFolder(QWidget* parent, const FileDialogRequest& request) = 0;

    // The chosen font and colour; nothing when the user cancelled.
    virtual std::optional<FontChoice> chooseFont(QWidget* parent, const FontChoice& current) = 0;

    void inform(QWidget* parent, MessageIcon icon, const QString& text)
    {
        message(parent, icon, MessageButtons::Ok, text);
    }
    void inform(QWidget* parent, const Message& shown) { inform(parent, shown.icon, shown.text); }
    void warn(QWidget* parent, const QString& text) { inform(parent, MessageIcon::Exclamation, text); }
    [[nodiscard]] bool confirm(QWidget* parent, const QString& text)
    {
        return message(parent, MessageIcon::Question, MessageButtons::YesNo, text) == MessageAnswer::Yes;
    }
};

// The program title that every message box carries.
[[nodiscard]] inline QString programTitle()
{
    return QStringLiteral("벼리솔 성경자료 관리기");
}

} // namespace platform
