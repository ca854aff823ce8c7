#include "maintenance/MaintenanceMessages.h"

#include "maintenance/VersionMaintenance.h"
#include "platform/FileErrorDescriptions.h"

namespace maintenance {

namespace {

const QString kAfterName = QStringLiteral("\r\n\r\n");
const QString kRepairQuestion = QStringLiteral("선택된 파일을 치료하시겠습니까?");
const QString kCompactQuestion = QStringLiteral("선택된 파일을 최척화하겠습니까?");
const QString kDeleteQuestion = QStringLiteral("선택하신 역본파일을 석제하시겠습니까?");
const QString kRepaired = QStringLiteral("성공적으로 치료가 끝났습니다 !");
const QString kRepairFailed = QStringLiteral("치료하지 못했습니다!");
const QString kErrorNumber = QStringLiteral("오류 번호: ");
const QString kCompacted = QStringLiteral("성공적으로 완료되었습니다.");
const QString kCompactAdvice = QStringLiteral("자료의 수정작업이 적으면 자주 최적화할 필요는 없습니다 !");
const QString kCompactFailed = QStringLiteral("예기치 못한 오류가 발행하여 더이상 작업을 진행할 수 없습니다 !");
const QString kShippedRefused = QStringLiteral("선택하신 파일은 기본 제공파일로 삭제할 수 없습니다 !");
const QString kDeleted = QStringLiteral("삭제되었습니다 !");

} // namespace

QString MaintenanceMessages::repairConfirmation(const QString& displayName)
{
    return displayName + kAfterName + kRepairQuestion;
}

QString MaintenanceMessages::compactConfirmation(const QString& displayName)
{
    return displayName + kAfterName + kCompactQuestion;
}

QString MaintenanceMessages::deleteConfirmation(const QString& displayName)
{
    return displayName + kAfterName + kDeleteQuestion;
}

Message MaintenanceMessages::repairSucceeded(const QString& displayName)
{
    return {platform::MessageIcon::Information, displayName + kAfterName + kRepaired};
}

Message MaintenanceMessages::repairFailed(int number, const QString& description)
{
    // The lines of this box are broken by a carriage return alone.
    return {platform::MessageIcon::None, kRepairFailed + QLatin1Char('\r') + kErrorNumber + QString::number(number) +
                                             QLatin1Char('\r') + description};
}

Message MaintenanceMessages::compactSucceeded(const QString& displayName)
{
    return {platform::MessageIcon::Information,
            displayName + kAfterName + kCompacted + QStringLiteral("\r\n") + kCompactAdvice};
}

Message MaintenanceMessages::compactFailed()
{
    return {platform::MessageIcon::Critical, kCompactFailed};
}

Message MaintenanceMessages::shippedFileRefused(const QString& displayName)
{
    return {platform::MessageIcon::Exclamation, displayName + kAfterName + kShippedRefused};
}

Message MaintenanceMessages::deleted(const QString& displayName)
{
    return {platform::MessageIcon::Information, displayName + kAfterName + kDeleted};
}

Message MaintenanceMessages::deleteFailed(const QString& description)
{
    return {platform::MessageIcon::None, description};
}

QString MaintenanceMessages::fileNotFound()
{
    return platform::FileErrorDescriptions::fileNotFound();
}

QString MaintenanceMessages::pathNotFound()
{
    return platform::FileErrorDescriptions::pathNotFound();
}

QString MaintenanceMessages::permissionDenied()
{
    return platform::FileErrorDescriptions::permissionDenied();
}

QString MaintenanceMessages::accessError()
{
    return platform::FileErrorDescriptions::accessError();
}

QList<Message> MaintenanceMessages::forOutcome(const QString& displayName, const RepairOutcome& outcome)
{
    if (outcome.repaired) {
        return {repairSucceeded(displayName)};
    }
    QList<Message> messages;
    for (const versiondb::ErrorItem& error : outcome.errors) {
        messages << repairFailed(error.Number, error.Description);
    }
    return messages;
}

QList<Message> MaintenanceMessages::forOutcome(const QString& displayName, const CompactOutcome& outcome)
{
    return {outcome.compacted() ? compactSucceeded(displayName) : compactFailed()};
}

QList<Message> MaintenanceMessages::forOutcome(const QString& displayName, const DeleteOutcome& outcome)
{
    return {outcome.deleted ? deleted(displayName) : deleteFailed(outcome.description)};
}

} // namespace maintenance
