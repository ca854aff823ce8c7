#pragma once

#include "platform/gui/Dialogs.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <deque>
#include <optional>

namespace testsupport {

// Dialogs that answer from a queue filled by the test and record what was
// shown. A dialog that opens with nothing queued fails the test at once and
// answers as a cancel would, so a window test never waits for a person.
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
    void queueFiles(QStringList files) { m_files.push_back(std::move(files)); }
    void queueFont(std::optional<platform::FontChoice> font) { m_fonts.push_back(std::move(font)); }

    [[nodiscard]] const QList<Shown>& messages() const { return m_messages; }
    // For each box shown, whether the busy pointer was still up.
    [[nodiscard]] QList<bool> busyAtMessages() const;
    [[nodiscard]] const QList<platform::FileDialogRequest>& fileRequests() const { return m_fileRequests; }
    [[nodiscard]] bool allAnswersUsed() const { return m_answers.empty() && m_files.empty() && m_fonts.empty(); }
    void clear();

    platform::MessageAnswer message(QWidget* parent, platform::MessageIcon icon, platform::MessageButtons buttons,
                                    const QString& text) override;
    QStringList chooseFiles(QWidget* parent, const platform::FileDialogRequest& request) override;
    // Answers from the same queue as chooseFiles: the first path queued, or a cancel for an empty list.
    QString chooseFolder(QWidget* parent, const platform::FileDialogRequest& request) override;
    std::optional<platform::FontChoice> chooseFont(QWidget* parent, const platform::FontChoice& current) override;

private:
    std::deque<platform::MessageAnswer> m_answers;
    std::deque<QStringList> m_files;
    std::deque<std::optional<platform::FontChoice>> m_fonts;
    QList<Shown> m_messages;
    QList<platform::FileDialogRequest> m_fileRequests;
};

} // namespace testsupport
