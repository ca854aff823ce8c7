#include "support/ScriptedDialogs.h"

#include <QApplication>
#include <QTest>

namespace testsupport {

void ScriptedDialogs::clear()
{
    m_answers.clear();
    m_files.clear();
    m_fonts.clear();
    m_messages.clear();
    m_fileRequests.clear();
}

platform::MessageAnswer ScriptedDialogs::message(QWidget*, platform::MessageIcon icon, platform::MessageButtons buttons,
                                                 const QString& text)
{
    m_messages.append({icon, buttons, text, QApplication::overrideCursor() != nullptr});
    if (m_answers.empty()) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected message box: ") + text), __FILE__, __LINE__);
        return buttons == platform::MessageButtons::Ok ? platform::MessageAnswer::Ok : platform::MessageAnswer::No;
    }
    const platform::MessageAnswer answer = m_answers.front();
    m_answers.pop_front();
    return answer;
}

QStringList ScriptedDialogs::chooseFiles(QWidget*, const platform::FileDialogRequest& request)
{
    m_fileRequests.append(request);
    if (m_files.empty()) {
        QTest::qFail(qPrintable(QStringLiteral("unexpected file dialog: ") + request.title), __FILE__, __LINE__);
        return {};
    }
    QStringList files = m_files.front();
    m_files.pop_front();
    return files;
}

QString ScriptedDialogs::chooseFolder(QWidget* parent, const platform::FileDialogRequest& request)
{
    return chooseFiles(parent, request).value(0);
}

std::optional<platform::FontChoice> ScriptedDialogs::chooseFont(QWidget*, const platform::FontChoice&)
{
    if (m_fonts.empty()) {
        QTest::qFail("unexpected font dialog", __FILE__, __LINE__);
        return std::nullopt;
    }
    auto font = m_fonts.front();
    m_fonts.pop_front();
    return font;
}

QList<bool> ScriptedDialogs::busyAtMessages() const
{
    QList<bool> busy;
    for (const Shown& shown : m_messages) {
        busy << shown.busyPointer;
    }
    return busy;
}

} // namespace testsupport
