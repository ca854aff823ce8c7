#include "editor/VersionSearch.h"

#include "editor/EditRules.h"
#include "versiondb/Cancelled.h"
#include "versiondb/Error.h"
#include "versiondb/History.h"
#include "versiondb/Transaction.h"
#include "versiondb/VersionStore.h"

#include <exception>
#include <functional>

namespace editor {

namespace {

// How many records pass between two reports to a run control.
constexpr qint64 kProgressStep = 256;

// Reports done out of total now and then, and stops the pass when the run is cancelled (caught where the pass began).
void stepDone(platform::RunControl* control, qint64 done, qint64 total)
{
    versiondb::stopIfCancelled(control);
    if (control != nullptr && done % kProgressStep == 0) {
        control->report(done, total);
    }
}

// Runs work; an engine error becomes the outcome's failure, a cancel its mark.
template <typename Outcome, typename Work> void guarded(Outcome& outcome, Work&& work)
{
    try {
        work();
    } catch (const versiondb::Cancelled&) {
        outcome.cancelled = true;
    } catch (const std::exception& error) {
        outcome.failure = versiondb::failureOf(error);
    }
}

// What replacing every match makes of text, as a save stores it: without end spaces. With plain text the pattern
// has no groups, so a backslash and digit in the replacement stay as they are.
QString replacedText(const QRegularExpression& expression, const QString& text, const QString& replacement)
{
    QString replaced = text;
    replaced.replace(expression, replacement);
    return trimSpaces(replaced);
}

QString referenceOf(const versiondb::VerseRecord& record)
{
    const QVariant& value = record[versiondb::kReference];
    return value.isNull() ? QString() : value.toString();
}

} // namespace

CompiledSearch compileSearch(const SearchRequest& request)
{
    CompiledSearch compiled;
    if (request.pattern.isEmpty()) {
        compiled.fault = PatternFault::Empty;
        return compiled;
    }
    QRegularExpression::PatternOptions options = QRegularExpression::UseUnicodePropertiesOption;
    if (request.ignoreCase) {
        options |= QRegularExpression::CaseInsensitiveOption;
    }
    compiled.expression.setPattern(request.regex ? request.pattern : QRegularExpression::escape(request.pattern));
    compiled.expression.setPatternOptions(options);
    if (!compiled.expression.isValid()) {
        compiled.fault = PatternFault::Invalid;
        compiled.error = compiled.expression.errorString();
        compiled.offset = compiled.expression.patternErrorOffset();
        return compiled;
    }
    compiled.expression.optimize();
    return compiled;
}

namespace {

// Compiles request into outcome's pattern and, unless the pattern is refused, hands every record of the version that
// has a text to verse with the expression and its text, reporting progress on the way; an engine error becomes the
// outcome's failure.
template <typename Outcome, typename Verse>
void searchTexts(versiondb::VersionStore& version, const SearchRequest& request, platform::RunControl* control,
                 Outcome& outcome, Verse&& verse)
{
    outcome.pattern = compileSearch(request);
    if (outcome.pattern.fault != PatternFault::None) {
        return;
    }
    guarded(outcome, [&] {
        const qint64 total = control != nullptr ? version.recordCount() : 0;
        qint64 done = 0;
        version.readVerses([&](const versiondb::VerseRecord& record) {
            stepDone(control, ++done, total);
            const QVariant& text = record[versiondb::kText];
            if (!text.isNull()) {
                verse(outcome.pattern.expression, record, text.toString());
            }
        });
        if (control != nullptr) {
            control->report(total, total);
        }
    });
}

} // namespace

FindOutcome VersionSearch::find(const SearchRequest& request, platform::RunControl* control)
{
    FindOutcome outcome;
    searchTexts(m_version, request, control, outcome,
                [&](const QRegularExpression& expression, const versiondb::VerseRecord& record, const QString& text) {
                    QList<MatchSpan> spans;
                    for (const QRegularExpressionMatch& match : expression.globalMatch(text)) {
                        spans.append({match.capturedStart(), match.capturedLength()});
                    }
                    if (!spans.isEmpty()) {
                        outcome.matches += spans.size();
                        outcome.verses.push_back({record.row, record[versiondb::kNumber].toLongLong(),
                                                  referenceOf(record), text, std::move(spans)});
                    }
                });
    if (outcome.failure || outcome.cancelled) {
        outcome.verses.clear();
        outcome.matches = 0;
    }
    return outcome;
}

ReplaceOutcome VersionSearch::preview(const SearchRequest& request, const QString& replacement,
                                      platform::RunControl* control, bool keepAfter)
{
    ReplaceOutcome outcome;
    searchTexts(
        m_version, request, control, outcome,
        [&](const QRegularExpression& expression, const versiondb::VerseRecord& record, const QString& text) {
            if (!expression.match(text).hasMatch()) {
                return;
            }
            ReplacedVerse verse{record.row, record[versiondb::kNumber].toLongLong(),     referenceOf(record),
                                text,       replacedText(expression, text, replacement), ReplacedKind::Changed};
            if (verse.after.isEmpty()) {
                verse.kind = ReplacedKind::LeftEmpty;
            } else if (lineBreakCaret(verse.after)) {
                verse.kind = ReplacedKind::LineBreak;
            } else if (verse.after == text) {
                return;
            } else if (!keepAfter) {
                verse.after.clear();
            }
            (verse.kind == ReplacedKind::Changed ? outcome.changed : outcome.refused).push_back(std::move(verse));
        });
    if (outcome.failure || outcome.cancelled) {
        outcome.changed.clear();
        outcome.refused.clear();
    }
    return outcome;
}

ApplyOutcome VersionSearch::apply(const std::vector<ReplacedVerse>& chosen, const QString& detail,
                                  platform::RunControl* control,
                                  const std::function<QString(const ReplacedVerse&)>& afterOf)
{
    ApplyOutcome outcome;
    std::vector<ReplacedVerse> stale;
    guarded(outcome, [&] {
        versiondb::History history(m_version);
        versiondb::Transaction transaction(m_version);
        versiondb::PendingChange change(versiondb::ChangeSource::Replace, detail);
        qint64 done = 0;
        for (const ReplacedVerse& verse : chosen) {
            // A cancel leaves the transaction uncommitted: it rolls back as it goes out of scope.
            stepDone(control, ++done, qint64(chosen.size()));
            if (verse.kind != ReplacedKind::Changed) {
                continue;
            }
            // The change keeps the preview's own before texts (shared, not copied).
            switch (history.setText(verse.row, verse.before, afterOf ? afterOf(verse) : verse.after, change)) {
            case versiondb::ExpectedStore::Stale:
                stale.push_back(verse);
                break;
            case versiondb::ExpectedStore::Stored:
                ++outcome.stored;
                break;
            case versiondb::ExpectedStore::Same:
                break;
            }
        }
        outcome.change = history.finish(change);
        stepDone(control, done, done);
        transaction.commit();
    });
    if (outcome.failure || outcome.cancelled) {
        outcome.change = 0;
        outcome.stored = 0;
    } else {
        outcome.stale = std::move(stale);
    }
    return outcome;
}

FindOutcome VersionSearch::findIn(const QString& path, const SearchRequest& request)
{
    FindOutcome outcome;
    outcome.pattern = compileSearch(request);
    if (outcome.pattern.fault == PatternFault::None) {
        guarded(outcome, [&] {
            const auto version = versiondb::VersionStore::openDatabase(path, versiondb::VersionStore::Hold::Read);
            outcome = VersionSearch(*version).find(request);
        });
    }
    return outcome;
}

ReplaceOutcome VersionSearch::replaceIn(const QString& path, const SearchRequest& request, const QString& replacement,
                                        bool dryRun, ApplyOutcome& applied, const ReplacedVisitor& changedVerse,
                                        platform::RunControl* control)
{
    ReplaceOutcome outcome;
    outcome.pattern = compileSearch(request);
    if (outcome.pattern.fault != PatternFault::None) {
        return outcome;
    }
    // A replacement of every verse of a whole version keeps one copy of the texts before it (the preview's, which
    // the history's change shares) and makes each text after when it is needed: once to store it, once more for
    // changedVerse. Both copies at once, with the file mapped while it is read, would not fit in 40 MB.
    const QRegularExpression& expression = outcome.pattern.expression;
    const auto afterOf = [&](const ReplacedVerse& verse) {
        return replacedText(expression, verse.before, replacement);
    };
    guarded(outcome, [&] {
        using Hold = versiondb::VersionStore::Hold;
        const auto version = versiondb::VersionStore::openDatabase(path, dryRun ? Hold::Read : Hold::Write);
        VersionSearch search(*version);
        if (control != nullptr) {
            control->setStage(0);
        }
        outcome = search.preview(request, replacement, control, false);
        if (!dryRun && !outcome.failure && !outcome.cancelled && !outcome.changed.empty()) {
            if (control != nullptr) {
                control->report(0, qint64(outcome.changed.size()));
                control->setStage(1);
            }
            applied = search.apply(outcome.changed, detailOf(request, replacement), control, afterOf);
        }
    });
    if (applied.cancelled) {
        outcome.cancelled = true;
        outcome.changed.clear();
        outcome.refused.clear();
    }
    if (!outcome.failure && !applied.failure && !outcome.cancelled && changedVerse) {
        for (const ReplacedVerse& verse : outcome.changed) {
            ReplacedVerse shown = verse;
            shown.after = afterOf(verse);
            changedVerse(shown);
        }
    }
    return outcome;
}

QString VersionSearch::detailOf(const SearchRequest& request, const QString& replacement)
{
    QString detail = u'"' + request.pattern + QStringLiteral("\" → \"") + replacement + u'"';
    if (request.regex) {
        detail.prepend(QStringLiteral("정규식 "));
    }
    if (request.ignoreCase) {
        detail += QStringLiteral(" (대소문자 무시)");
    }
    return detail;
}

} // namespace editor
