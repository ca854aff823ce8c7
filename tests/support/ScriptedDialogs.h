#pragma once

#include "platform/gui/Dialogs.h"

#include <QApplication>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTest>
#include <algorithm>
#include <deque>
#include <initializer_list>
#include <optional>

namespace testsupport {

// Dialogs that answer from a queue filled by the test and record what was shown. A dialog that opens with nothing
// queued fails the test at once and answers as a cancel would, so a window test never waits for a person.
class ScriptedDialogs final : public platform::Dialogs
{
public:
    struct Shown
    {
        platform::MessageIcon icon;
        platform::MessageButtons buttons;
        QString text;
        bool busyPointer = false; // the busy pointer was still up when the box opened
    };

    void queueAnswer(platform::MessageAnswer answer) { m_answers.push_back(answer); }
    void queueAnswers(std::initializer_list<platform::MessageAnswer> answers)
    {
        m_answers.insert(m_answers.end(), answers);
    }
    void queueFiles(QStringList files) { m_files.push_back(std::move(files)); }
    void queueFont(std::optional<platform::FontChoice> font) { m_fonts.push_back(std::move(font)); }

    [[nodiscard]] const QList<Shown>& messages() const { return m_messages; }
    // Whether the busy pointer was still up at any box shown.
    [[nodiscard]] bool busyAtAnyMessage() const { return std::ranges::any_of(m_messages, &Shown::busyPointer); }
    [[nodiscard]] const QList<platform::FileDialogRequest>& fileRequests() const { return m_fileRequests; }
    [[nodiscard]] bool allAnswersUsed() const { return m_answers.empty() && m_files.empty() && m_fonts.empty(); }
    void clear()
    {
        m_answers.clear();
        m_files.clear();
        m_fonts.clear();
        m_messages.clear();
        m_fileRequests.clear();
    }

    platform::MessageAnswer message(QWidget*, platform::MessageIcon icon, platform::MessageButtons buttons,
                                    const QString& text) override
    {
        m_messages.append({icon, buttons, text, QApplication::overrideCursor() != nullptr});
        return next(m_answers, QStringLiteral("message box: ") + text,
                    buttons == platform::MessageButtons::Ok                  ? platform::MessageAnswer::Ok
                    : buttons == platform::MessageButtons::SaveDiscardCancel ? platform::MessageAnswer::Cancel
                                                                             : platform::MessageAnswer::No);
    }
    QStringList chooseFiles(QWidget*, const platform::FileDialogRequest& request) override
    {
        m_fileRequests.append(request);
        return next(m_files, QStringLiteral("file dialog: ") + request.title, QStringList());
    }
    // Answers from the same queue as chooseFiles: the first path queued, or a cancel for an empty list.
    QString chooseFolder(QWidget* parent, const platform::FileDialogRequest& request) override
    {
        return chooseFiles(parent, request).value(0);
    }
    std::optional<platform::FontChoice> chooseFont(QWidget*, const platform::FontChoice&) override
    {
        return next(m_fonts, QStringLiteral("font dialog"), std::optional<platform::FontChoice>());
    }

private:
    // The first answer queued; with none, the test fails at once and the cancel's answer is given.
    template <typename T> static T next(std::deque<T>& queue, const QString& what, T cancel)
    {
        if (queue.empty()) {
            QTest::qFail(qPrintable(QStringLiteral("unexpected ") + what), __FILE__, __LINE__);
            return cancel;
        }
        T answer = std::move(queue.front());
        queue.pop_front();
        return answer;
    }

    std::deque<platform::MessageAnswer> m_answers;
    std::deque<QStringList> m_files;
    std::deque<std::optional<platform::FontChoice>> m_fonts;
    QList<Shown> m_messages;
    QList<platform::FileDialogRequest> m_fileRequests;
};

} // namespace testsupport

// The program names the owner of its settings at its start, as Windows keeps no settings without one; so do the tests.
inline void nameTheSettingsOwner()
{
    QCoreApplication::setOrganizationName(QStringLiteral("byeorisol-tests"));
}
Q_COREAPP_STARTUP_FUNCTION(nameTheSettingsOwner)
