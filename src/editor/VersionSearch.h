#pragma once

#include "editor/VerseEditor.h"
#include "platform/RunControl.h"

#include <QList>
#include <QRegularExpression>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace versiondb {
class VersionStore;
} // namespace versiondb

namespace editor {

// What to look for in the texts of a version.
struct SearchRequest
{
    QString pattern;
    bool regex = false;      // a regular expression (Perl-like, Unicode); otherwise the text as it is
    bool ignoreCase = false; // letters that have a case match either case
};

// Why a request cannot be carried out.
enum class PatternFault
{
    None,
    Empty,   // the pattern is the empty text
    Invalid, // the regular expression does not compile: error and offset say where
};

// A request made into the expression that runs it, or why it cannot be.
struct CompiledSearch
{
    PatternFault fault = PatternFault::None;
    QRegularExpression expression;
    QString error;        // Invalid: the engine's description of the fault
    qsizetype offset = 0; // Invalid: the offset in the pattern where the fault was found
};

// Plain text is escaped; both kinds match Unicode properties (\w is any letter).
[[nodiscard]] CompiledSearch compileSearch(const SearchRequest& request);

struct MatchSpan
{
    qsizetype start = 0;
    qsizetype length = 0;
    bool operator==(const MatchSpan&) const = default;
};

// A verse whose text matches, with where.
struct FoundVerse
{
    qint64 row = 0;
    qint64 number = 0; // 번호
    QString reference;
    QString text;
    QList<MatchSpan> spans;
};

struct FindOutcome
{
    CompiledSearch pattern;         // its fault says why nothing was searched
    std::vector<FoundVerse> verses; // in the order of 번호
    qint64 matches = 0;             // every match of every verse
    bool cancelled = false;         // stopped by its run control: nothing found
    std::optional<versiondb::ErrorItem> failure;
};

// What a replacement does to one verse.
enum class ReplacedKind
{
    Changed,   // stored by an apply
    LeftEmpty, // nothing left once the end spaces are gone: left unchanged, as a save would refuse it
    LineBreak, // the text would hold a line break: left unchanged, as a save would refuse it
};

struct ReplacedVerse
{
    qint64 row = 0;
    qint64 number = 0;
    QString reference;
    QString before;
    QString after; // the replaced text without its end spaces, as a save stores it
    ReplacedKind kind = ReplacedKind::Changed;
};

struct ReplaceOutcome
{
    CompiledSearch pattern;             // its fault says why nothing was searched
    std::vector<ReplacedVerse> changed; // in the order of 번호
    std::vector<ReplacedVerse> refused; // LeftEmpty and LineBreak, in the order of 번호
    bool cancelled = false;             // stopped by its run control: nothing listed, nothing stored
    std::optional<versiondb::ErrorItem> failure;
};

struct ApplyOutcome
{
    qint64 change = 0; // the change's number in the history; 0 when nothing was stored
    qint64 stored = 0;
    std::vector<ReplacedVerse> stale; // verses whose text is no longer the one the preview replaced: left alone
    bool cancelled = false;           // stopped by its run control: rolled back, nothing stored
    std::optional<versiondb::ErrorItem> failure;
};

// Called with one verse of a replacement.
using ReplacedVisitor = std::function<void(const ReplacedVerse& verse)>;

// Find and replace over every text of one version (Null texts have none to match), read in the order of 번호
// through a version store its caller holds. A replacement follows QString::replace with a regular expression:
// \1 to \99 stand for the captured groups (there is no $1), and with plain text the replacement is taken as
// it is. The replaced text is stored as the verse editor stores a save: without end spaces, and never empty
// or with a line break. A pass reports the records (or chosen verses) done to its run control, when it has one, and
// stops when it is cancelled: a cancelled apply stores nothing. Nothing here throws.
class VersionSearch
{
public:
    explicit VersionSearch(versiondb::VersionStore& version) : m_version(version) {}

    [[nodiscard]] FindOutcome find(const SearchRequest& request, platform::RunControl* control = nullptr);
    // What replacing every match would make of each verse; nothing is stored. Without keepAfter the Changed verses
    // come without their after texts (an empty text).
    [[nodiscard]] ReplaceOutcome preview(const SearchRequest& request, const QString& replacement,
                                         platform::RunControl* control = nullptr, bool keepAfter = true);
    // Stores the after texts of the chosen Changed verses of a preview (or those afterOf makes of them) as one change
    // of the history, in one transaction; a verse whose stored text is not its before text any more is left alone and
    // listed.
    [[nodiscard]] ApplyOutcome apply(const std::vector<ReplacedVerse>& chosen, const QString& detail,
                                     platform::RunControl* control = nullptr,
                                     const std::function<QString(const ReplacedVerse&)>& afterOf = {});

    // The same over a version file opened for it alone: a find, or a replacement with dryRun, reads the file as it
    // is (a file that cannot be written included); a replacement holds it for writing and applies every Changed
    // verse of its preview (into applied). The pattern is checked before the file is opened. The Changed verses of
    // a replacement come without their after texts: changedVerse is given each of them with it, in the order of
    // 번호, once the replacement is stored (or previewed, with dryRun), and not at all when it failed.
    [[nodiscard]] static FindOutcome findIn(const QString& path, const SearchRequest& request);
    // A cancelled replacement is rolled back: the file keeps every text it had.
    [[nodiscard]] static ReplaceOutcome replaceIn(const QString& path, const SearchRequest& request,
                                                  const QString& replacement, bool dryRun, ApplyOutcome& applied,
                                                  const ReplacedVisitor& changedVerse = {},
                                                  platform::RunControl* control = nullptr);

    // How the history names a replacement: the pattern and its replacement.
    [[nodiscard]] static QString detailOf(const SearchRequest& request, const QString& replacement);

private:
    versiondb::VersionStore& m_version;
};

} // namespace editor
