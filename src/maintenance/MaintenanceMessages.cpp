#include "maintenance/MaintenanceMessages.h"

#include "maintenance/VersionMaintenance.h"
#include "platform/FileNames.h"

namespace maintenance {

namespace {

const QString kAfterName = QStringLiteral("\r\n\r\n");
const QString kLostVerses = QStringLiteral("본문을 잃은 구절");
const QString kDamagedTexts = QStringLiteral("글자가 손상된 본문");
const QString kCount = QStringLiteral("%1개");
const QString kKeptOriginal = QStringLiteral("손상된 원본 파일: ");

} // namespace

QString MaintenanceMessages::repairConfirmation(const QString& displayName)
{
    return displayName + kAfterName + QStringLiteral("선택된 파일을 치료하시겠습니까?");
}

QString MaintenanceMessages::compactConfirmation(const QString& displayName)
{
    return displayName + kAfterName + QStringLiteral("선택된 파일을 최적화하시겠습니까?");
}

QString MaintenanceMessages::deleteConfirmation(const QString& displayName)
{
    return displayName + kAfterName + QStringLiteral("선택하신 역본파일을 삭제하시겠습니까?");
}

Message MaintenanceMessages::repairSucceeded(const QString& displayName)
{
    return {platform::MessageIcon::Information,
            displayName + kAfterName + QStringLiteral("성공적으로 치료가 끝났습니다 !")};
}

Message MaintenanceMessages::repairFailed(int number, const QString& description)
{
    // The lines of this box are broken by a carriage return alone.
    return {platform::MessageIcon::None, QStringLiteral("치료하지 못했습니다!\r오류 번호: ") + QString::number(number) +
                                             QLatin1Char('\r') + description};
}

Message MaintenanceMessages::repairIncomplete(const QString& displayName, const RepairOutcome& outcome, int maxRanges)
{
    QString text = displayName + kAfterName + QStringLiteral("치료를 마쳤지만 본문을 모두 되살리지는 못했습니다 !");
    const auto count = [&](const QString& what, int n, const QStringList& ranges) {
        if (n == 0) {
            return;
        }
        text += QStringLiteral("\r\n") + what + QStringLiteral(": ") + kCount.arg(n);
        if (maxRanges > 0) {
            QStringList shown = ranges.mid(0, maxRanges);
            if (ranges.size() > maxRanges) {
                shown << QStringLiteral("…");
            }
            text += QStringLiteral(" (") + shown.join(QStringLiteral(", ")) + u')';
        }
    };
    count(kLostVerses, outcome.lostVerses, outcome.lostRanges);
    count(kDamagedTexts, outcome.damagedTexts, outcome.damagedRanges);
    if (!outcome.listPath.isEmpty()) {
        text += QStringLiteral("\r\n전체 목록: ") + outcome.listPath;
    }
    text += QStringLiteral("\r\n") + kKeptOriginal + platform::getFileName(outcome.keptOriginal);
    return {platform::MessageIcon::Exclamation, text};
}

QString MaintenanceMessages::repairListHeading(const QString& path, const RepairOutcome& outcome)
{
    return QStringLiteral("치료한 파일: ") + path + QStringLiteral("\r\n") + kKeptOriginal + outcome.keptOriginal +
           QStringLiteral("\r\n");
}

QString MaintenanceMessages::lostVersesHeading(int count)
{
    return kLostVerses + QStringLiteral(" (") + kCount.arg(count) + QStringLiteral("):");
}

QString MaintenanceMessages::damagedTextsHeading(int count)
{
    return kDamagedTexts + QStringLiteral(" (") + kCount.arg(count) + QStringLiteral("):");
}

Message MaintenanceMessages::compactRefusedDamaged(const QString& displayName)
{
    return {platform::MessageIcon::Exclamation,
            displayName + kAfterName +
                QStringLiteral(
                    "파일이 손상되어 최적화할 수 없습니다.\r\n먼저 \"손상된 역본파일 치료\"로 치료하여 주십시오 !")};
}

Message MaintenanceMessages::compactSucceeded(const QString& displayName)
{
    return {
        platform::MessageIcon::Information,
        displayName + kAfterName +
            QStringLiteral("성공적으로 완료되었습니다.\r\n자료의 수정작업이 적으면 자주 최적화할 필요는 없습니다 !")};
}

Message MaintenanceMessages::compactFailed()
{
    return {platform::MessageIcon::Critical,
            QStringLiteral("예기치 못한 오류가 발생하여 더이상 작업을 진행할 수 없습니다 !")};
}

Message MaintenanceMessages::repairCancelled(const QString& displayName)
{
    return {platform::MessageIcon::Information,
            displayName + kAfterName + QStringLiteral("치료를 취소했습니다. 파일은 치료하기 전 그대로입니다.")};
}

Message MaintenanceMessages::compactCancelled(const QString& displayName)
{
    return {platform::MessageIcon::Information,
            displayName + kAfterName + QStringLiteral("최적화를 취소했습니다. 파일은 최적화하기 전 그대로입니다.")};
}

Message MaintenanceMessages::shippedFileRefused(const QString& displayName)
{
    return {platform::MessageIcon::Exclamation,
            displayName + kAfterName + QStringLiteral("선택하신 파일은 기본 제공파일로 삭제할 수 없습니다 !")};
}

Message MaintenanceMessages::deleted(const QString& displayName)
{
    return {platform::MessageIcon::Information, displayName + kAfterName + QStringLiteral("삭제되었습니다 !")};
}

Message MaintenanceMessages::deleteFailed(const QString& description)
{
    return {platform::MessageIcon::None, description};
}

QList<Message> MaintenanceMessages::forOutcome(const QString& displayName, const RepairOutcome& outcome, int maxRanges)
{
    if (outcome.repaired) {
        Message message =
            outcome.whole() ? repairSucceeded(displayName) : repairIncomplete(displayName, outcome, maxRanges);
        if (outcome.historyLost) {
            message.icon = platform::MessageIcon::Exclamation;
            message.text +=
                QStringLiteral("\r\n변경 이력을 끝까지 읽지 못했습니다. 읽지 못한 변경은 되돌릴 수 없습니다.");
            if (outcome.whole()) { // else the text names it already
                message.text += QStringLiteral("\r\n") + kKeptOriginal + platform::getFileName(outcome.keptOriginal);
            }
        }
        return {message};
    }
    if (outcome.cancelled) {
        return {repairCancelled(displayName)};
    }
    QList<Message> messages;
    for (const versiondb::ErrorItem& error : outcome.failures) {
        messages << repairFailed(error.number, error.description);
    }
    return messages;
}

QList<Message> MaintenanceMessages::forOutcome(const QString& displayName, const CompactOutcome& outcome)
{
    if (outcome.failedAt == CompactStep::Damaged) {
        return {compactRefusedDamaged(displayName)};
    }
    if (outcome.failedAt == CompactStep::Cancelled) {
        return {compactCancelled(displayName)};
    }
    if (outcome.failedAt == CompactStep::ScratchInUse) {
        return {{platform::MessageIcon::Exclamation,
                 displayName + kAfterName +
                     QStringLiteral(
                         "다른 역본파일을 최적화하고 있어 최적화하지 않았습니다. 그 작업이 끝난 다음 다시 하십시오.")}};
    }
    return {outcome.compacted() ? compactSucceeded(displayName) : compactFailed()};
}

QList<Message> MaintenanceMessages::forOutcome(const QString& displayName, const DeleteOutcome& outcome)
{
    return {outcome.deleted() ? deleted(displayName) : deleteFailed(outcome.failure->description)};
}

} // namespace maintenance
