#include "cli/Commands.h"
#include "cli/ConsoleObserver.h"
#include "cli/ExitCode.h"
#include "cli/Interrupt.h"
#include "cli/Usage.h"
#include "editor/EditorMessages.h"
#include "editor/VerseEditor.h"
#include "editor/VersionSearch.h"
#include "platform/FileNames.h"

#include <algorithm>
#include <cstdio>

namespace cli {

namespace {

namespace EditorMessages = editor::EditorMessages;

// The version as the editor's file dialog would name it: a full native path.
int failure(const QString& path, const versiondb::ErrorItem& failure)
{
    printMessage(EditorMessages::failure(platform::getFileName(path), failure));
    return kFailure;
}

int refusal(const QString& text)
{
    printMessage(text);
    return kLineErrorsOrRefused;
}

// The text on one line of its own, with nothing changed.
void printLine(const QString& text)
{
    std::fprintf(stdout, "%s\n", text.toUtf8().constData());
}

// The arguments of find and replace: positional ones, then the options they take in any place.
struct SearchArguments
{
    QStringList positional;
    editor::SearchRequest request;
    bool dryRun = false;
};

std::optional<SearchArguments> parseSearch(const QStringList& arguments, bool replace, QString& why)
{
    SearchArguments parsed;
    for (const QString& argument : arguments) {
        if (argument == QStringLiteral("--regex")) {
            parsed.request.regex = true;
        } else if (argument == QStringLiteral("--ignore-case")) {
            parsed.request.ignoreCase = true;
        } else if (replace && argument == QStringLiteral("--dry-run")) {
            parsed.dryRun = true;
        } else if (argument.startsWith(QStringLiteral("--"))) {
            why = UsageErrors::unknownOption(argument);
            return std::nullopt;
        } else {
            parsed.positional.append(argument);
        }
    }
    if (parsed.positional.size() != (replace ? 3 : 2)) {
        why = replace ? UsageErrors::kReplaceNeedsArguments : UsageErrors::kFindNeedsArguments;
        return std::nullopt;
    }
    parsed.request.pattern = parsed.positional.at(1);
    return parsed;
}

// Why a search was not carried out, printed; true when there was a reason.
bool searchRefused(const QString& path, const editor::SearchRequest& request, const editor::CompiledSearch& pattern,
                   const std::optional<versiondb::ErrorItem>& failure)
{
    if (pattern.fault == editor::PatternFault::Empty) {
        printMessage(EditorMessages::kEmptyPattern);
    } else if (pattern.fault == editor::PatternFault::Invalid) {
        printMessage(EditorMessages::invalidPattern(request.pattern, pattern.offset, pattern.error));
    } else if (failure) {
        printMessage(EditorMessages::failure(platform::getFileName(path), *failure));
    } else {
        return false;
    }
    return true;
}

QString unchangedLine(const editor::ReplacedVerse& verse, const QString& why)
{
    return verse.reference + QStringLiteral(" (") + why + QStringLiteral(")\n  ") + verse.before;
}

} // namespace

int findCommand(const QStringList& arguments)
{
    QString why;
    const auto parsed = parseSearch(arguments, false, why);
    if (!parsed) {
        return usageError(why);
    }
    const QString version = platform::fullPath(parsed->positional.at(0));
    const editor::FindOutcome outcome = editor::VersionSearch::findIn(version, parsed->request);
    if (searchRefused(version, parsed->request, outcome.pattern, outcome.failure)) {
        return kFailure;
    }
    for (const editor::FoundVerse& verse : outcome.verses) {
        printLine(verse.reference + u' ' + verse.text);
    }
    std::fflush(stdout);
    return outcome.verses.empty() ? kNoMatch : kSuccess;
}

int replaceCommand(const QStringList& arguments)
{
    QString why;
    const auto parsed = parseSearch(arguments, true, why);
    if (!parsed) {
        return usageError(why);
    }
    const QString version = platform::fullPath(parsed->positional.at(0));
    editor::ApplyOutcome applied;
    // Ctrl+C cancels the replacement: it is rolled back and the file keeps every text it had.
    platform::RunControl control;
    const InterruptScope interrupt(control);
    // Each changed verse is printed as it comes, after the replacement is stored: the list keeps no text after.
    const editor::ReplaceOutcome outcome = editor::VersionSearch::replaceIn(
        version, parsed->request, parsed->positional.at(2), parsed->dryRun, applied,
        [&](const editor::ReplacedVerse& verse) {
            const bool stale = std::any_of(applied.stale.begin(), applied.stale.end(),
                                           [&](const editor::ReplacedVerse& v) { return v.row == verse.row; });
            printLine(stale ? unchangedLine(verse, EditorMessages::kReplaceStale)
                            : verse.reference + QStringLiteral("\n  이전: ") + verse.before +
                                  QStringLiteral("\n  이후: ") + verse.after);
        },
        &control);
    if (searchRefused(version, parsed->request, outcome.pattern, outcome.failure ? outcome.failure : applied.failure)) {
        return kFailure;
    }
    if (outcome.cancelled) {
        printMessage(EditorMessages::kReplaceCancelled);
        return kCancelled;
    }
    for (const editor::ReplacedVerse& verse : outcome.refused) {
        printLine(unchangedLine(verse, verse.kind == editor::ReplacedKind::LeftEmpty
                                           ? EditorMessages::kReplaceLeftEmpty
                                           : EditorMessages::kReplaceLineBreak));
    }
    const qint64 unchanged = qint64(outcome.refused.size() + applied.stale.size());
    if (outcome.changed.empty() && outcome.refused.empty()) {
        printMessage(EditorMessages::kNothingFound);
    } else {
        printMessage(parsed->dryRun ? EditorMessages::replacePreviewed(qint64(outcome.changed.size()), unchanged)
                                    : EditorMessages::replaceApplied(applied.stored, applied.change, unchanged));
    }
    return (parsed->dryRun ? outcome.changed.empty() : applied.stored == 0) ? kNoMatch : kSuccess;
}

int showCommand(const QString& path, const QString& reference)
{
    const QString version = platform::fullPath(path);
    editor::VerseEditor editor;
    if (const auto failed = editor.open(version)) {
        return failure(version, *failed);
    }
    const editor::GoOutcome outcome = editor.go(reference);
    switch (outcome.result) {
    case editor::GoResult::EmptyReference:
        return refusal(EditorMessages::kGoEmptyReference);
    case editor::GoResult::NotFound:
        return refusal(EditorMessages::referenceMistake(reference, EditorMessages::kGoReferenceNotFound));
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
    const QString version = platform::fullPath(path);
    editor::VerseEditor editor(versiondb::ChangeSource::Save);
    if (const auto failed = editor.open(version)) {
        return failure(version, *failed);
    }
    const editor::SaveOutcome outcome = editor.save(reference, text);
    switch (outcome.result) {
    case editor::SaveResult::Stored:
        return kSuccess;
    case editor::SaveResult::EmptyReference:
        return refusal(EditorMessages::kSaveEmptyReference);
    case editor::SaveResult::EmptyText:
        return refusal(EditorMessages::kSaveEmptyText);
    case editor::SaveResult::ReferenceNotFound:
        return refusal(EditorMessages::referenceMistake(reference, EditorMessages::kSaveReferenceNotFound));
    case editor::SaveResult::LineBreak:
        return refusal(EditorMessages::kSaveLineBreak);
    case editor::SaveResult::Failed:
        break;
    }
    return failure(version, outcome.failure);
}

int historyCommand(const QString& path, const std::optional<QString>& reference)
{
    const QString version = platform::fullPath(path);
    editor::VerseEditor editor;
    if (const auto failed = editor.open(version)) {
        return failure(version, *failed);
    }
    const std::optional<editor::HistoryOutcome> outcome =
        reference ? editor.verseChanges(*reference) : std::optional(editor.changes());
    if (!outcome) {
        return refusal(EditorMessages::referenceMistake(*reference, EditorMessages::kGoReferenceNotFound));
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
        printLine(EditorMessages::kNoHistory);
    }
    std::fflush(stdout);
    return kSuccess;
}

int undoCommand(const QString& path, const std::optional<QString>& reference, bool redo)
{
    const QString version = platform::fullPath(path);
    editor::VerseEditor editor;
    if (const auto failed = editor.open(version)) {
        return failure(version, *failed);
    }
    const std::optional<editor::TakeBackOutcome> outcome =
        redo ? (reference ? editor.redoLast(*reference) : std::optional(editor.redoLast()))
             : (reference ? editor.undoLast(*reference) : std::optional(editor.undoLast()));
    if (!outcome) {
        return refusal(EditorMessages::referenceMistake(*reference, EditorMessages::kGoReferenceNotFound));
    }
    if (outcome->failure) {
        return failure(version, *outcome->failure);
    }
    if (outcome->restored.empty()) {
        return refusal(redo ? EditorMessages::kNothingToRedo : EditorMessages::kNothingToTakeBack);
    }
    const versiondb::Change& made = outcome->restored.front().change;
    printLine(redo ? EditorMessages::broughtBack(outcome->redone, made) : EditorMessages::takenBack(made));
    for (const versiondb::VerseChange& verse : outcome->restored) {
        printLine(verse.reference + QStringLiteral("  ") + EditorMessages::textOf(verse.after));
    }
    std::fflush(stdout);
    return kSuccess;
}

} // namespace cli
