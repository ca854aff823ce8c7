#include "import/BuildPipeline.h"

#include "import/ErrorLog.h"
#include "import/ErrorLogWriter.h"
#include "import/RunMessages.h"
#include "import/RunObserver.h"
#include "import/RunRequest.h"
#include "import/TextFileChecker.h"
#include "import/VersionName.h"
#include "platform/FileErrorDescriptions.h"
#include "platform/ProgramFolders.h"
#include "shell/SharedRoutines.h"
#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/Error.h"
#include "versiondb/Names.h"
#include "versiondb/Password.h"
#include "versiondb/Recordset.h"

#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <utility>

namespace importer {

namespace {

const QString kPhase1Status = QStringLiteral("1/2 작업중...");
const QString kPhase2Status = QStringLiteral("2/2 작업중...");
const QString kIndexNumber = QStringLiteral("번호");
const QString kIndexReference = QStringLiteral("성경구절");
const QString kTable = QStringLiteral("본문");
const QString kFieldText = QStringLiteral("본문");
const QString kNullText = QStringLiteral("null");
const QStringList kSkeletonFields = {QStringLiteral("번호"), QStringLiteral("권"), QStringLiteral("장"),
                                     QStringLiteral("절"), QStringLiteral("성경구절")};

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
        throw PhaseFailure{error.Description(), path};
    }
}

} // namespace

// A database and its one table-type record set, closed together, record set first.
struct BuildPipeline::Connection
{
    std::unique_ptr<versiondb::Database> database;
    std::unique_ptr<versiondb::Recordset> records;

    static std::unique_ptr<Connection> open(const QString& path, const QString& index)
    {
        return onFile(path, [&] { return openUnnamed(path, index); });
    }

    static std::unique_ptr<Connection> openUnnamed(const QString& path, const QString& index)
    {
        auto connection = std::make_unique<Connection>();
        connection->database =
            versiondb::DBEngine::instance().OpenDatabase(path, true, false, versiondb::passwordConnect());
        connection->records = connection->database->OpenRecordset(kTable, versiondb::dbOpenTable);
        if (!index.isEmpty()) {
            connection->records->setIndex(index);
        }
        return connection;
    }

    ~Connection() { close(); }

    void close() noexcept
    {
        try {
            if (records) {
                records->Close();
            }
        } catch (...) {
        }
        records.reset();
        try {
            if (database) {
                database->Close();
            }
        } catch (...) {
        }
        database.reset();
    }
};

BuildPipeline::BuildPipeline(QString programFolder, RunObserver& observer)
    : m_programFolder(std::move(programFolder)), m_observer(observer)
{}

BuildPipeline::~BuildPipeline()
{
    closeAll();
}

void BuildPipeline::closeAll() noexcept
{
    m_target.reset();
    m_reference.reset();
}

bool BuildPipeline::refuseInputFiles(const QStringList& files)
{
    if (const auto refusal = inputFileRefusal(files)) {
        m_observer.showMessage(platform::MessageIcon::Exclamation, *refusal);
        return true;
    }
    return false;
}

RunOutcome BuildPipeline::runCheck(const QStringList& files)
{
    if (refuseInputFiles(files)) {
        return RunOutcome::Refused;
    }
    return ImportTextFiles(RunMode::Test, files, QString());
}

RunOutcome BuildPipeline::runBuild(QString& versionName, const QStringList& files)
{
    if (const auto problem = versionNameProblem(versionName)) {
        m_observer.showMessage(platform::MessageIcon::Exclamation, *problem);
        return RunOutcome::Refused;
    }
    if (refuseInputFiles(files)) {
        return RunOutcome::Refused;
    }
    const bool prepared = PrepareTargetVersion(versionName);
    const RunOutcome outcome = ImportTextFiles(RunMode::Create, files, versionName);
    return prepared ? outcome : RunOutcome::Failed;
}

bool BuildPipeline::PrepareTargetVersion(QString& versionName)
{
    m_phase1Failure.reset();
    try {
        m_reference = Connection::open(versiondb::referenceVersionPath(m_programFolder), kIndexNumber);

        const QString completed = completeVersionName(versionName);
        if (completed != versionName) {
            versionName = completed;
            m_observer.versionNameCompleted(versionName);
        }

        const QString targetPath = versiondb::versionPath(m_programFolder, versionName);
        if (!shell::FileExists(targetPath)) {
            copySkeleton(*m_reference, targetPath);
        }
        // The reference is opened again by phase 2; it is never left open between phases.
        m_reference.reset();
        return true;
    } catch (const versiondb::Error& error) {
        failPhase1(error.Description(), QString());
    } catch (const PhaseFailure& failure) {
        failPhase1(failure.description, failure.path);
    }
    return false;
}

void BuildPipeline::copySkeleton(Connection& reference, const QString& targetPath)
{
    const QString templatePath = versiondb::templatePath(m_programFolder);
    if (!QFile::copy(templatePath, targetPath)) {
        throw PhaseFailure{platform::FileErrorDescriptions::copyFailure(templatePath, targetPath),
                           QFileInfo(templatePath).isFile() ? targetPath : templatePath};
    }
    m_target = Connection::open(targetPath, QString());
    onFile(targetPath, [&] { copyRecords(reference); });
}

void BuildPipeline::copyRecords(Connection& reference)
{
    m_observer.setBusy(true);
    versiondb::Recordset& from = *reference.records;
    versiondb::Recordset& to = *m_target->records;
    from.MoveFirst();
    m_observer.showStatus(kPhase1Status);
    m_progressMaximum = from.RecordCount();
    m_observer.showProgress(0, m_progressMaximum);
    std::vector<versiondb::Field*> source;
    std::vector<versiondb::Field*> destination;
    for (const QString& name : kSkeletonFields) {
        source.push_back(&from.Fields(name));
        destination.push_back(&to.Fields(name));
    }
    for (;;) {
        to.AddNew();
        for (std::size_t i = 0; i < source.size(); ++i) {
            destination[i]->setValue(source[i]->Value());
        }
        to.Update(versiondb::dbUpdateRegular, false);
        m_observer.setProgressValue(std::clamp(source[0]->Value().toInt(), 0, m_progressMaximum));
        from.MoveNext();
        if (from.Eof()) {
            break;
        }
        m_observer.processEvents();
    }
    m_target.reset();
    m_observer.hideProgress();
    m_observer.hideStatus();
    m_observer.setBusy(false);
}

void BuildPipeline::failPhase1(const QString& description, const QString& path)
{
    closeAll();
    m_phase1Failure = description;
    m_observer.setBusy(false);
    m_observer.showMessage(platform::MessageIcon::None, RunMessages::phase1Failure(description, path));
}

RunOutcome BuildPipeline::ImportTextFiles(RunMode mode, const QStringList& files, const QString& versionName)
{
    m_acceptedCount = 0;
    const ErrorLog log(m_programFolder);
    ErrorLogWriter logWriter(log);
    try {
        if (const auto failure = log.remove()) {
            throw PhaseFailure{failure->description, failure->path};
        }
        m_observer.setBusy(true);
        m_observer.showAnimation(m_programFolder + platform::separator() + QStringLiteral("list.avi"));

        const QString referencePath = versiondb::referenceVersionPath(m_programFolder);
        m_reference = Connection::open(referencePath, kIndexReference);
        const QString targetPath = versiondb::versionPath(m_programFolder, versionName);
        if (mode == RunMode::Create) {
            // A target that phase 1 could not make fails for the reason phase 1 gave.
            if (m_phase1Failure && !QFileInfo::exists(targetPath)) {
                throw PhaseFailure{*m_phase1Failure, targetPath};
            }
            m_target = Connection::open(targetPath, kIndexReference);
            m_observer.showStatus(kPhase2Status);
            m_progressMaximum = m_reference->records->RecordCount();
            m_observer.showProgress(0, m_progressMaximum);
        }

        versiondb::Recordset& reference = *m_reference->records;
        const ReferenceExists exists = [&reference, &referencePath](const QString& canonical) {
            return onFile(referencePath, [&] {
                reference.Seek(QStringLiteral("="), canonical);
                return !reference.NoMatch();
            });
        };
        AcceptedLineWriter writer;
        if (mode == RunMode::Create) {
            writer = [this, &targetPath](const QString& canonical, const QString& text) {
                onFile(targetPath, [&] { writeAcceptedLine(canonical, text); });
            };
        }
        // The error log is written as the errors are found; it becomes err.txt only when the run ends well.
        const CheckResult checked = checkTextFiles(
            files, exists, writer, [&logWriter](const QString& entry) { return logWriter.append(entry); },
            [this] { m_observer.processEvents(); });
        if (!checked.succeeded()) {
            throw PhaseFailure{checked.failure->description, checked.failure->path};
        }
        if (const auto failure = logWriter.commit()) {
            throw PhaseFailure{failure->description, failure->path};
        }
    } catch (const versiondb::Error& error) {
        return failPhase2(mode, error.Description(), QString());
    } catch (const PhaseFailure& failure) {
        return failPhase2(mode, failure.description, failure.path);
    }

    m_observer.setBusy(false);
    m_observer.hideAnimation();
    m_observer.hideStatus();
    m_observer.hideProgress();
    m_reference.reset();

    const bool logged = log.exists();
    if (mode == RunMode::Test) {
        m_observer.showMessage(logged ? platform::MessageIcon::Exclamation : platform::MessageIcon::Information,
                               logged ? RunMessages::testFinishedWithErrors()
                                      : RunMessages::testFinishedWithoutErrors());
    } else {
        m_observer.showMessage(logged ? platform::MessageIcon::Exclamation : platform::MessageIcon::Information,
                               logged ? RunMessages::buildFinishedWithErrors(versionName, m_acceptedCount)
                                      : RunMessages::buildFinished(versionName));
    }
    if (logged) {
        m_observer.openErrorLog(log.path());
    }
    m_target.reset();
    m_observer.closeAnimation();
    return logged ? RunOutcome::LineErrors : RunOutcome::Clean;
}

void BuildPipeline::writeAcceptedLine(const QString& reference, const QString& text)
{
    versiondb::Recordset& target = *m_target->records;
    target.Seek(QStringLiteral("="), reference);
    target.Edit();
    target.Fields(kFieldText).setValue(text.isEmpty() ? kNullText : text);
    target.Update(versiondb::dbUpdateRegular, false);
    ++m_acceptedCount;
    m_observer.setProgressValue(std::min(m_acceptedCount, m_progressMaximum));
    m_observer.processEvents();
}

RunOutcome BuildPipeline::failPhase2(RunMode mode, const QString& description, const QString& path)
{
    closeAll();
    m_observer.setBusy(false);
    m_observer.hideStatus();
    m_observer.hideProgress();
    m_observer.hideAnimation();
    m_observer.closeAnimation();
    m_observer.showMessage(platform::MessageIcon::Exclamation,
                           RunMessages::phase2Failure(description, mode == RunMode::Create, path));
    return RunOutcome::Failed;
}

} // namespace importer
