#include "import/BuildPipeline.h"

#include "import/ErrorLog.h"
#include "import/ErrorLogWriter.h"
#include "import/RunMessages.h"
#include "import/SwordBible.h"
#include "import/VersionName.h"
#include "platform/FileErrorDescriptions.h"
#include "platform/FileMove.h"
#include "platform/FileNames.h"
#include "platform/ProgramFolders.h"
#include "platform/RunControl.h"
#include "versiondb/Error.h"
#include "versiondb/ExclusiveOpen.h"
#include "versiondb/Names.h"
#include "versiondb/SideFiles.h"
#include "versiondb/Transaction.h"
#include "versiondb/VersionStore.h"

#include <QFile>
#include <QFileInfo>
#include <utility>

namespace importer {

namespace {

const QString kNullText = QStringLiteral("null");

// A failure inside a phase, with the file it concerns.
struct PhaseFailure
{
    QString description;
    QString path;
};

// Does work on the file at path; an engine error on the way names that file.
template <typename Work> decltype(auto) onFile(const QString& path, Work&& work)
{
    try {
        return std::forward<Work>(work)();
    } catch (const versiondb::Error& error) {
        throw PhaseFailure{error.description(), path};
    }
}

// Writes the template into the new file itself: a copy that a kill cuts short then lies under
// the staging name, which the next build removes, and under no name of the copy's own choosing.
bool copyTemplate(const QString& from, const QString& to)
{
    QFile source(from);
    QFile target(to);
    if (!source.open(QIODevice::ReadOnly) || !target.open(QIODevice::WriteOnly | QIODevice::NewOnly)) {
        return false;
    }
    const QByteArray bytes = source.readAll();
    return source.error() == QFileDevice::NoError && target.write(bytes) == bytes.size() && target.flush();
}

// The names of the files of a run (or its module), as its change in a version's history names them.
QString inputNames(const RunInput& input)
{
    if (!input.swordModule.isEmpty()) {
        return swordBibleEntry(input.swordModule);
    }
    QStringList names;
    for (const QString& file : input.files) {
        names << platform::getFileName(file);
    }
    return names.join(QStringLiteral(", "));
}

// Opens a version; a failure names its file.
std::unique_ptr<versiondb::VersionStore> openVersion(const QString& path)
{
    return onFile(path, [&] { return versiondb::VersionStore::openDatabase(path); });
}

} // namespace

BuildPipeline::BuildPipeline(QString programFolder, platform::RunControl& control)
    : m_programFolder(std::move(programFolder)), m_control(control)
{}

BuildPipeline::~BuildPipeline()
{
    closeAll();
}

void BuildPipeline::closeAll() noexcept
{
    // A transaction still open here was not committed by a normal end of the run: it rolls back.
    m_stored.reset();
    m_history.reset();
    m_target.reset();
    m_targetRows.clear();
    m_reference.reset();
}

bool BuildPipeline::refuseInput(const RunInput& input, RunOutcome& outcome)
{
    std::optional<QString> refusal;
    if (input.swordModule.isEmpty()) {
        refusal = inputFileRefusal(input.files);
    } else {
        m_swordBible = openSwordBible(input.swordModule);
        if (m_swordBible == nullptr) {
            refusal = swordModuleRefusal(input.swordModule, installedSwordBibles());
        }
    }
    if (refusal) {
        outcome.result = RunResult::Refused;
        outcome.messages.append({platform::MessageIcon::Exclamation, *refusal});
        return true;
    }
    return false;
}

RunOutcome BuildPipeline::runCheck(const RunInput& input)
{
    RunOutcome outcome;
    if (!refuseInput(input, outcome)) {
        importTextFiles(RunMode::Test, input, outcome);
    }
    return outcome;
}

RunOutcome BuildPipeline::runBuild(const QString& versionName, const RunInput& input)
{
    RunOutcome outcome;
    outcome.versionName = versionName;
    if (const auto problem = versionNameProblem(versionName)) {
        outcome.result = RunResult::Refused;
        outcome.messages.append({platform::MessageIcon::Exclamation, *problem});
        return outcome;
    }
    if (refuseInput(input, outcome)) {
        return outcome;
    }
    const bool prepared = prepareTargetVersion(outcome);
    if (m_control.cancelled()) {
        cancel(RunMode::Create, outcome);
        return outcome;
    }
    importTextFiles(RunMode::Create, input, outcome);
    if (!prepared && outcome.result != RunResult::Cancelled) {
        outcome.result = RunResult::Failed;
    }
    return outcome;
}

bool BuildPipeline::prepareTargetVersion(RunOutcome& outcome)
{
    m_phase1Failure.reset();
    m_madeFresh = false;
    m_control.setStage(1);
    m_control.report(0, 1);
    try {
        m_reference = openVersion(versiondb::referenceVersionPath(m_programFolder));
        outcome.versionName = completeVersionName(outcome.versionName);
        m_targetPath = versiondb::versionPath(m_programFolder, outcome.versionName);
        if (!platform::fileExists(m_targetPath)) {
            m_madeFresh = copySkeleton(m_targetPath);
        }
        // The reference is opened again by phase 2; it is never left open between phases.
        m_reference.reset();
        m_control.report(1, 1);
        return true;
    } catch (const versiondb::Error& error) {
        failPhase1(outcome, error.description(), QString());
    } catch (const PhaseFailure& failure) {
        failPhase1(outcome, failure.description, failure.path);
    }
    return false;
}

bool BuildPipeline::copySkeleton(const QString& targetPath)
{
    // The version is made under a name of its own and takes its real name only when complete,
    // so that a killed build never leaves a half-made version behind.
    const QString staging = targetPath + kStagingSuffix;
    bool madeFresh = false;
    {
        // What a killed build of this name left; held first, so that one still running keeps its file.
        versiondb::FileHold leftover(staging);
        leftover.endBeforeDeletion();
        versiondb::removeWithSideFiles(staging);
    }
    const QString templatePath = versiondb::templatePath(m_programFolder);
    if (!copyTemplate(templatePath, staging)) {
        QFile::remove(staging);
        throw PhaseFailure{platform::FileErrorDescriptions::copyFailure(templatePath, targetPath),
                           QFileInfo(templatePath).isFile() ? targetPath : templatePath};
    }
    try {
        const QString referencePath = m_reference->name();
        // The target reads the reference itself: the reference must be let go first.
        m_reference.reset();
        // Named by the version's own name: the scratch name means nothing to the user.
        onFile(targetPath, [&] {
            m_target = versiondb::VersionStore::openDatabase(staging);
            m_target->copySkeleton(referencePath);
            m_target.reset();
        });
        // A cancel before the version takes its name leaves nothing.
        if (m_control.cancelled()) {
            versiondb::removeWithSideFiles(staging);
            return false;
        }

        // Whatever lies beside a name that no file has belonged to a file that is gone, and would be
        // taken up by the new one. Looked at just before the rename, which never replaces a file.
        if (!QFileInfo::exists(targetPath)) {
            versiondb::removeSideFiles(targetPath);
        }
        switch (platform::renameToNewName(staging, targetPath)) {
        case platform::RenameOutcome::Renamed:
            platform::flushFolder(QFileInfo(targetPath).absolutePath());
            madeFresh = true;
            break;
        case platform::RenameOutcome::TargetExists:
            // Another build made the version meanwhile; the texts go into that one.
            versiondb::removeWithSideFiles(staging);
            break;
        case platform::RenameOutcome::Failed:
            throw PhaseFailure{platform::FileErrorDescriptions::accessError(), targetPath};
        }
    } catch (...) {
        m_target.reset();
        versiondb::removeWithSideFiles(staging);
        throw;
    }
    return madeFresh;
}

void BuildPipeline::failPhase1(RunOutcome& outcome, const QString& description, const QString& path)
{
    closeAll();
    m_phase1Failure = description;
    outcome.messages.append({platform::MessageIcon::None, RunMessages::phase1Failure(description, path)});
}

void BuildPipeline::importTextFiles(RunMode mode, const RunInput& input, RunOutcome& outcome)
{
    m_acceptedCount = 0;
    const ErrorLog log(m_programFolder, m_logInCodePage949);
    ErrorLogWriter logWriter(log);
    CheckResult checked;
    try {
        // The earlier log is kept until the run has ended: a cancelled run puts it back.
        if (const auto failure = log.setAside()) {
            throw PhaseFailure{failure->description, failure->path};
        }
        m_control.setStage(2);
        m_control.report(0, 0);

        const QString referencePath = versiondb::referenceVersionPath(m_programFolder);
        m_reference = openVersion(referencePath);
        const QString targetPath = versiondb::versionPath(m_programFolder, outcome.versionName);
        if (mode == RunMode::Create) {
            // A target that phase 1 could not make fails for the reason phase 1 gave.
            if (m_phase1Failure && !QFileInfo::exists(targetPath)) {
                throw PhaseFailure{*m_phase1Failure, targetPath};
            }
            m_target = openVersion(targetPath);
            m_targetRows = onFile(targetPath, [this] { return m_target->rowsByReference(); });
            // Every text of the run is stored in one transaction: a crash or a cancel leaves the version as it was.
            onFile(targetPath, [this] { m_stored = std::make_unique<versiondb::Transaction>(*m_target); });
            // The texts of a version made by this run replace nothing; into any other, the run is one change.
            if (!m_madeFresh) {
                m_history = std::make_unique<versiondb::History>(*m_target);
                m_change = versiondb::PendingChange(versiondb::ChangeSource::Build, inputNames(input));
            }
        }

        // A target this run made holds the reference's records: its own references answer for the reference's.
        const bool targetIsReference = mode == RunMode::Create && m_madeFresh;
        const QHash<QString, qint64> referenceRows =
            targetIsReference ? QHash<QString, qint64>()
                              : onFile(referencePath, [this] { return m_reference->rowsByReference(); });
        const QHash<QString, qint64>& known = targetIsReference ? m_targetRows : referenceRows;
        const ReferenceExists exists = [&known](const QString& canonical) { return known.contains(canonical); };
        AcceptedLineWriter writer;
        if (mode == RunMode::Create) {
            writer = [this, &targetPath](const QString& canonical, const QString& text) {
                onFile(targetPath, [&] { writeAcceptedLine(canonical, text); });
            };
        }
        // The error log is written as the errors are found; it becomes err.txt only when the run ends well.
        const ErrorListSink errors = [&logWriter](const QString& entry) { return logWriter.append(entry); };
        checked = input.swordModule.isEmpty() ? checkTextFiles(input.files, exists, writer, errors, &m_control)
                                              : checkSwordBible(swordBibleEntry(input.swordModule), *m_swordBible,
                                                                exists, writer, errors, &m_control);
        if (checked.cancelled) {
            cancel(mode, outcome);
            log.putBack();
            return;
        }
        if (!checked.succeeded()) {
            throw PhaseFailure{checked.failure->description, checked.failure->path};
        }
        // The texts first: a run whose texts could not be kept leaves no log.
        onFile(targetPath, [this] { commitStored(); });
        if (const auto failure = logWriter.commit()) {
            throw PhaseFailure{failure->description, failure->path};
        }
    } catch (const versiondb::Error& error) {
        log.dropSetAside();
        failPhase2(mode, outcome, error.description(), QString());
        return;
    } catch (const PhaseFailure& failure) {
        log.dropSetAside();
        failPhase2(mode, outcome, failure.description, failure.path);
        return;
    }
    log.dropSetAside();
    closeAll();

    outcome.acceptedCount = m_acceptedCount;
    outcome.findings = std::move(checked.findings);
    outcome.findingsLeftOut = checked.findingsLeftOut;
    outcome.partlyRead = std::move(checked.partlyRead);
    const bool logged = log.exists();
    if (logged) {
        outcome.errorLogPath = log.path();
    }
    const bool building = mode == RunMode::Create;
    const QString& name = outcome.versionName;
    if (!outcome.partlyRead.isEmpty()) {
        outcome.result = RunResult::PartialRead;
        outcome.messages.append({platform::MessageIcon::Exclamation,
                                 building ? RunMessages::buildPartlyRead(name, m_acceptedCount, outcome.partlyRead)
                                          : RunMessages::testPartlyRead(outcome.partlyRead)});
    } else if (logged) {
        outcome.result = RunResult::LineErrors;
        outcome.messages.append(
            {platform::MessageIcon::Exclamation, building ? RunMessages::buildFinishedWithErrors(name, m_acceptedCount)
                                                          : RunMessages::testFinishedWithErrors()});
    } else {
        outcome.result = RunResult::Clean;
        outcome.messages.append({platform::MessageIcon::Information, building
                                                                         ? RunMessages::buildFinished(name)
                                                                         : RunMessages::testFinishedWithoutErrors()});
    }
}

void BuildPipeline::writeAcceptedLine(const QString& reference, const QString& text)
{
    // The target holds the reference's records, so a reference found there is found here.
    const auto row = m_targetRows.constFind(reference);
    if (row == m_targetRows.cend()) {
        versiondb::raise(versiondb::errorNumber::NoCurrentRecord);
    }
    if (m_history) {
        m_history->setText(*row, text.isEmpty() ? kNullText : text, m_change);
    } else {
        m_target->setText(*row, text.isEmpty() ? kNullText : text);
    }
    ++m_acceptedCount;
}

void BuildPipeline::commitStored()
{
    if (m_stored) {
        if (m_history) {
            m_history->finish(m_change);
        }
        m_stored->commit();
        m_stored.reset();
    }
}

void BuildPipeline::cancel(RunMode mode, RunOutcome& outcome)
{
    // Closing rolls back every text the run stored.
    closeAll();
    if (mode == RunMode::Create && m_madeFresh) {
        // The version this run made goes again; held first, so that nobody who opened it meanwhile loses it.
        try {
            versiondb::FileHold made(m_targetPath);
            made.endBeforeDeletion();
            versiondb::removeWithSideFiles(m_targetPath);
        } catch (const versiondb::Error&) {
        }
        platform::flushFolder(QFileInfo(m_targetPath).absolutePath());
        m_madeFresh = false;
    }
    outcome.result = RunResult::Cancelled;
    outcome.messages.append({platform::MessageIcon::Information, RunMessages::cancelled(mode == RunMode::Create)});
}

void BuildPipeline::failPhase2(RunMode mode, RunOutcome& outcome, const QString& description, const QString& path)
{
    // What was stored before the failure is kept.
    try {
        commitStored();
    } catch (const versiondb::Error&) {
    }
    closeAll();
    outcome.result = RunResult::Failed;
    outcome.messages.append(
        {platform::MessageIcon::Exclamation, RunMessages::phase2Failure(description, mode == RunMode::Create, path)});
}

} // namespace importer
