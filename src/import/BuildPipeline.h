#pragma once

#include "import/RunRequest.h"
#include "import/TextFileChecker.h"
#include "platform/MessageIcon.h"
#include "platform/SystemCodePage.h"
#include "versiondb/History.h"

#include <QHash>
#include <QList>
#include <QString>
#include <memory>
#include <optional>

namespace platform {
class RunControl;
}

namespace versiondb {
class Transaction;
class VersionStore;
} // namespace versiondb

namespace importer {

class SwordBible;

enum class RunMode
{
    Test,   // the check run: every line checked and logged, no version file written
    Create, // the build run: the checked lines written into the target version
};

// How a run ended.
enum class RunResult
{
    Clean,       // finished, no line errors
    LineErrors,  // finished, some lines rejected and logged in err.txt
    PartialRead, // finished, but some file was read only in part: faults passed over, or one that ends it
    Refused,     // not started: the request itself was refused with a message
    Failed,      // stopped by an unexpected error
    Cancelled,   // stopped by the user; every file as it was before the run
};

using platform::Message;

// Everything a run leaves for whoever shows it.
struct RunOutcome
{
    RunResult result = RunResult::Clean;
    // The messages to show in order (a failed phase 1 is told before phase 2's failure); the last is the final one.
    QList<Message> messages;
    // The version's name, completed with ".DAT" where it had no "."; empty for a check.
    QString versionName;
    // The entries of the error list (the first kMostFindings of them) and how many more err.txt holds.
    QList<Finding> findings;
    qint64 findingsLeftOut = 0;
    // The files read only in part.
    QList<PartlyReadFile> partlyRead;
    // The error log written by the run; empty when it wrote none.
    QString errorLogPath;
    // Lines written into the target.
    int acceptedCount = 0;
};

// Checks text files and builds version files from them, reporting how far it has come through a run control
// (stage 1 makes the target, stage 2 reads the files, counting bytes) and stopping between lines when it is
// cancelled. Every database and text file a run opens is closed when the run ends, on every path.
class BuildPipeline
{
public:
    BuildPipeline(QString programFolder, platform::RunControl& control);
    ~BuildPipeline();
    BuildPipeline(const BuildPipeline&) = delete;
    BuildPipeline& operator=(const BuildPipeline&) = delete;

    // A whole check run over the files, in list order, or over a module.
    [[nodiscard]] RunOutcome runCheck(const RunInput& input);

    // A whole build run into the version of that name in the install folder: the name is refused when it is no
    // plain file name there, else phase 1 then phase 2. A cancelled build leaves the version as it was, or no
    // version when it made it.
    [[nodiscard]] RunOutcome runBuild(const QString& versionName, const RunInput& input);

    // Writes the error log in code page 949 with CR LF (set) or UTF-8 with LF; the platform's own by default.
    void setLogInCodePage949(bool codePage949) { m_logInCodePage949 = codePage949; }

private:
    // Phase 1: makes sure the target exists and holds the reference version's verse skeleton. Adds its own
    // failure to the outcome; false after it.
    bool prepareTargetVersion(RunOutcome& outcome);
    // Phase 2, or the whole check run.
    void importTextFiles(RunMode mode, const RunInput& input, RunOutcome& outcome);
    // Refuses, with its message, a list that names anything but regular files, or a module it cannot open; a module
    // it can is opened here, for the run to read.
    bool refuseInput(const RunInput& input, RunOutcome& outcome);
    // Makes the version at targetPath from the template and the reference's records; false when another run made
    // it meanwhile or the run was cancelled.
    bool copySkeleton(const QString& targetPath);
    // Commits the texts stored so far by a build run.
    void commitStored();
    void writeAcceptedLine(const QString& reference, const QString& text);
    void failPhase1(RunOutcome& outcome, const QString& description, const QString& path);
    void failPhase2(RunMode mode, RunOutcome& outcome, const QString& description, const QString& path);
    // Drops what a cancelled run stored, and the version it made.
    void cancel(RunMode mode, RunOutcome& outcome);
    void closeAll() noexcept;

    QString m_programFolder;
    platform::RunControl& m_control;
    std::unique_ptr<SwordBible> m_swordBible; // the module a run reads, opened before it starts
    std::unique_ptr<versiondb::VersionStore> m_reference;
    std::unique_ptr<versiondb::VersionStore> m_target;
    // The target's rows by 성경구절, read when phase 2 opens it.
    QHash<QString, qint64> m_targetRows;
    std::unique_ptr<versiondb::Transaction> m_stored; // the texts of a build run
    std::unique_ptr<versiondb::History> m_history;    // kept for a version this run did not make
    versiondb::PendingChange m_change;
    int m_acceptedCount = 0;
    // Why phase 1 of this build failed, if it did.
    std::optional<QString> m_phase1Failure;
    bool m_madeFresh = false; // phase 1 made the version
    QString m_targetPath;
    bool m_logInCodePage949 = platform::systemCodePageIs949();
};

} // namespace importer
