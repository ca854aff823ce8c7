#pragma once

#include "books/Versification.h"
#include "platform/RunControl.h"
#include "versiondb/Connection.h"
#include "versiondb/ErrorNumbers.h"
#include "versiondb/Password.h"

#include <QString>
#include <QVariant>
#include <map>
#include <optional>
#include <vector>

namespace versiondb {

// What a repair gave back.
struct RepairReport
{
    // False when the version was sound and was left as it was.
    bool rewritten = false;
    // The file did not follow the reference and was rewritten as found, adding nothing.
    bool asFound = false;
    // Verses whose text could not be brought back; they are Null now.
    std::vector<books::SkeletonVerse> lost;
    // Texts brought back with bytes that are not text, or with a line break; each such byte is U+FFFD now.
    std::vector<books::SkeletonVerse> damaged;
    // The damaged file, kept beside the version under a name that does not end in .dat
    // when anything was lost or damaged, a verse's text or the history.
    QString keptOriginal;
    // Changes of the history, or texts it kept, that could not be read whole and are left out: those changes can
    // no longer be taken back.
    bool historyLost = false;

    [[nodiscard]] bool whole() const { return lost.empty() && damaged.empty(); }
};

// The repair of one version file. A sound version (see Soundness.h) is left as
// it is. Any other has every record that can still be read salvaged, through
// the table while it reads and from the raw pages after that, into a fresh
// file that replaces it once the fresh file is sound; the damaged file stays
// held from before it is read until then.
//
// Every version is built on the records of the reference version, so the
// fresh file gets every record of that skeleton with the text salvaged for it,
// each record found by the majority of its 번호, its 성경구절 and its 권, 장 and
// 절. A file whose records do not follow the skeleton is rewritten as found.
// A file with nothing to salvage raises errors and is left as it was. A
// symbolic link is followed to the file it points to, and stays a link.
//
// A run that its control cancels stops between records (or between the steps that are no loop of records) and
// raises Cancelled (Cancelled.h) with the file as it was: the fresh file, and the copy of the damaged one, gone.
// Once the fresh file is being put in place, the repair ends whatever the control says.
class Repair
{
public:
    // skeletonSource is the reference version; when it is the file being repaired, or
    // cannot be read soundly, the built-in Korean numbering stands in for it.
    Repair(QString path, QString skeletonSource, platform::RunControl* control = nullptr)
        : m_path(std::move(path)), m_skeletonSource(std::move(skeletonSource)), m_control(control)
    {}
    RepairReport run();

private:
    struct Found
    {
        std::vector<QVariant> values; // the six fields
        bool damagedText = false;     // 본문 held bytes that are not text, or a line break
    };
    struct Composed
    {
        std::map<qint64, std::vector<QVariant>> records; // by rowid
        bool onSkeleton = false;
        RepairReport report;
    };

    [[noreturn]] void nothingToSalvage() const;
    static void markLineBreaks(Found& found);
    void keepVerifier(const std::optional<PasswordVerifier>& verifier);
    void readThroughTable(sqlite3* db);
    // The history's rows that read through its tables (see History.h).
    void readHistory(sqlite3* db);
    void readPages(sqlite3* held);
    [[nodiscard]] std::vector<books::SkeletonVerse> skeleton() const;
    [[nodiscard]] Composed compose() const;
    // Writes the records into a fresh file, checks it and renames it over the damaged one.
    void replace(sqlite::Connection& held, const Composed& composed, RepairReport& report);
    void fill(const QString& fresh, const Composed& composed) const;
    // Raises the error of the first check that the fresh file fails.
    static void checkFresh(const QString& fresh, bool onSkeleton);
    [[nodiscard]] QString keepOriginal(sqlite3* held) const;

    // Reports the records of a loop now and then, and raises Cancelled when the run is to stop.
    void step(qint64 done, qint64 total) const;

    QString m_path;
    QString m_skeletonSource;
    platform::RunControl* m_control = nullptr;
    std::map<qint64, Found> m_records; // by rowid
    // The history's changes and kept texts, each row its columns in order.
    std::vector<std::vector<QVariant>> m_changes;
    std::vector<std::vector<QVariant>> m_keptTexts;
    // Rows of the history that did not read, or read damaged: the repaired version lacks them.
    bool m_historyLost = false;
    // The table was read to its end through the database, so an empty salvage is an empty version.
    bool m_tableReadThrough = false;
    // The verifier of the damaged file, kept only when it matches the password.
    std::optional<PasswordVerifier> m_verifier;
    // What the file lacks, named first when nothing can be salvaged.
    int m_lack = errorNumber::UnrecognizedFormat;
};

// Repairs the version at name (see Repair above): a sound one is left as it is; any other is
// rebuilt on the records of the reference version skeletonSource (the built-in Korean numbering
// when that is empty, the file itself or unreadable) with every text that can still be read.
// Nothing to salvage raises errors and leaves the file as it was; so does a run that control cancels, with Cancelled.
[[nodiscard]] RepairReport repairDatabase(const QString& name, const QString& skeletonSource = {},
                                          platform::RunControl* control = nullptr);

} // namespace versiondb
