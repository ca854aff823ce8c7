#pragma once

#include "versiondb/History.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <memory>
#include <optional>

namespace versiondb {
class History;
class Transaction;
class VersionStore;
} // namespace versiondb

namespace importer {

class RunObserver;

enum class RunMode
{
    Test,   // the check run: every line checked and logged, no version file written
    Create, // the build run: the checked lines written into the target version
};

// How a run ended, for callers that report it beyond the final message.
enum class RunOutcome
{
    Clean,      // finished, no line errors
    LineErrors, // finished, some lines rejected and logged in err.txt
    Refused,    // not started: the request itself was refused with a message
    Failed,     // stopped by an unexpected error
};

// Checks text files and builds version files from them, driving an observer
// that shows the run. Every database and text file a run opens is closed when
// the run ends, on every path.
class BuildPipeline
{
public:
    BuildPipeline(QString programFolder, RunObserver& observer);
    ~BuildPipeline();
    BuildPipeline(const BuildPipeline&) = delete;
    BuildPipeline& operator=(const BuildPipeline&) = delete;

    // A whole check run over the files, in list order.
    RunOutcome runCheck(const QStringList& files);

    // A whole build run into the version of that name in the install folder:
    // the name is refused when it is no plain file name there, else phase 1
    // then phase 2. The name comes back completed with ".DAT" where it had no ".".
    RunOutcome runBuild(QString& versionName, const QStringList& files);

    // Phase 1: makes sure the target exists and holds the reference version's
    // verse skeleton. Reports its own failure; returns false after it.
    bool PrepareTargetVersion(QString& versionName);

    // Phase 2, or the whole check run.
    RunOutcome ImportTextFiles(RunMode mode, const QStringList& files, const QString& versionName);

    // Lines written into the target by the last build run.
    [[nodiscard]] int acceptedCount() const { return m_acceptedCount; }

private:
    // Refuses, with its message, a list that names anything but regular files.
    bool refuseInputFiles(const QStringList& files);
    // Makes the version at targetPath from the template and the reference's records; false when
    // another run made it meanwhile.
    bool copySkeleton(const QString& targetPath);
    // Commits the texts stored so far by a build run.
    void commitStored();
    void writeAcceptedLine(const QString& reference, const QString& text);
    void failPhase1(const QString& description, const QString& path);
    RunOutcome failPhase2(RunMode mode, const QString& description, const QString& path);
    void closeAll() noexcept;

    QString m_programFolder;
    RunObserver& m_observer;
    std::unique_ptr<versiondb::VersionStore> m_reference;
    std::unique_ptr<versiondb::VersionStore> m_target;
    // The target's rows by 성경구절, read when phase 2 opens it.
    QHash<QString, qint64> m_targetRows;
    std::unique_ptr<versiondb::Transaction> m_stored; // the texts of a build run
    std::unique_ptr<versiondb::History> m_history;    // kept for a version this run did not make
    versiondb::PendingChange m_change;
    int m_progressMaximum = 0;
    int m_acceptedCount = 0;
    // Why phase 1 of this build failed, if it did.
    std::optional<QString> m_phase1Failure;
    bool m_madeFresh = false; // phase 1 made the version
};

} // namespace importer
