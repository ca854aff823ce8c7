#include "cli/EditorCommands.h"

#include "cli/ConsoleObserver.h"
#include "cli/ExitCode.h"
#include "editor/EditorMessages.h"
#include "editor/VerseEditor.h"
#include "platform/FileNames.h"

#include <QDir>
#include <QFileInfo>
#include <cstdio>

namespace cli {

namespace {

using editor::EditorMessages;

// The version as the editor's file dialog would name it: a full native path.
QString fullPath(const QString& path)
{
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

int failure(const QString& path, const editor::EngineFailure& failure)
{
    printMessage(stdout, EditorMessages::fileFailure(platform::GetFileName(path), failure.description));
    return kFailure;
}

int refusal(const QString& text)
{
    printMessage(stdout, text);
    return kLineErrorsOrRefused;
}

// The text on one line of its own, with nothing changed.
void printLine(const QString& text)
{
    std::fprintf(stdout, "%s\n", text.toUtf8().constData());
}

} // namespace

int showCommand(const QString& path, const QString& reference)
{
    const QString version = fullPath(path);
    editor::VerseEditor editor;
    if (const auto failed = editor.open(version)) {
        return failure(version, *failed);
    }
    const editor::GoOutcome outcome = editor.go(reference);
    switch (outcome.result) {
    case editor::GoResult::EmptyReference:
        return refusal(EditorMessages::goEmptyReference());
    case editor::GoResult::NotFound:
        return refusal(EditorMessages::goReferenceNotFound());
    case editor::GoResult::Failed:
        return failure(version, outcome.failure);
    case editor::GoResult::Found:
        break;
    }
    printLine(outcome.verse.reference);
    printLine(outcome.verse.text);
    std::fflush(stdout);
    return kSuccess;
}

int saveCommand(const QString& path, const QString& reference, const QString& text)
{
    const QString version = fullPath(path);
    editor::VerseEditor editor(versiondb::ChangeSource::Save);
    if (const auto failed = editor.open(version)) {
        return failure(version, *failed);
    }
    const editor::SaveOutcome outcome = editor.save(reference, text);
    switch (outcome.result) {
    case editor::SaveResult::Stored:
        return kSuccess;
    case editor::SaveResult::EmptyReference:
        return refusal(EditorMessages::saveEmptyReference());
    case editor::SaveResult::EmptyText:
        return refusal(EditorMessages::saveEmptyText());
    case editor::SaveResult::ReferenceNotFound:
        return refusal(EditorMessages::saveReferenceNotFound());
    case editor::SaveResult::LineBreak:
        return refusal(EditorMessages::saveLineBreak());
    case editor::SaveResult::Failed:
        break;
    }
    return failure(version, outcome.failure);
}

int historyCommand(const QString& path, const std::optional<QString>& reference)
{
    const QString version = fullPath(path);
    editor::VerseEditor editor;
    if (const auto failed = editor.open(version)) {
        return failure(version, *failed);
    }
    const std::optional<editor::HistoryOutcome> outcome =
        reference ? editor.verseChanges(*reference) : std::optional(editor.changes());
    if (!outcome) {
        return refusal(EditorMessages::goReferenceNotFound());
    }
    if (outcome->failure) {
        return failure(version, *outcome->failure);
    }
    for (const versiondb::Change& change : outcome->changes) {
        printLine(EditorMessages::changeLine(change));
    }
    for (const versiondb::VerseChange& change : outcome->verseChanges) {
        printLine(EditorMessages::verseChangeLines(change));
    }
    if (outcome->changes.empty() && outcome->verseChanges.empty()) {
        printLine(EditorMessages::noHistory());
    }
    std::fflush(stdout);
    return kSuccess;
}

int undoCommand(const QString& path, const std::optional<QString>& reference)
{
    const QString version = fullPath(path);
    editor::VerseEditor editor;
    if (const auto failed = editor.open(version)) {
        return failure(version, *failed);
    }
    const std::optional<editor::TakeBackOutcome> outcome =
        reference ? editor.undoLast(*reference) : std::optional(editor.undoLast());
    if (!outcome) {
        return refusal(EditorMessages::goReferenceNotFound());
    }
    if (outcome->failure) {
        return failure(version, *outcome->failure);
    }
    if (outcome->restored.empty()) {
        return refusal(EditorMessages::nothingToTakeBack());
    }
    printLine(EditorMessages::takenBack(outcome->restored.front().change));
    for (const versiondb::VerseChange& verse : outcome->restored) {
        printLine(verse.reference + QStringLiteral("  ") + EditorMessages::textOf(verse.after));
    }
    std::fflush(stdout);
    return kSuccess;
}

} // namespace cli
