#pragma once

#include "platform/MessageIcon.h"

#include <QList>
#include <QString>

namespace maintenance {

struct RepairOutcome;
struct CompactOutcome;
struct DeleteOutcome;

// One message to the user: the main window shows it in a box, byeorisol-data prints it.
using platform::Message;

// The texts of the repair, compaction and deletion commands, in one place for
// the main window and the command-line companion. A text about a chosen file
// starts with its display name and an empty line.
namespace MaintenanceMessages {
[[nodiscard]] QString repairConfirmation(const QString& displayName);
[[nodiscard]] QString compactConfirmation(const QString& displayName);
[[nodiscard]] QString deleteConfirmation(const QString& displayName);

[[nodiscard]] Message repairSucceeded(const QString& displayName);
// "치료하지 못했습니다!", CR, "오류 번호: " and the number, CR, the description.
[[nodiscard]] Message repairFailed(int number, const QString& description);
// A repair that replaced the file but could not bring back every text whole: the counts, the
// first maxRanges ranges of each kind, where the full list is and where the damaged file was kept.
[[nodiscard]] Message repairIncomplete(const QString& displayName, const RepairOutcome& outcome, int maxRanges);
// The headings of the repair's list file and of its two lists.
[[nodiscard]] QString repairListHeading(const QString& path, const RepairOutcome& outcome);
[[nodiscard]] QString lostVersesHeading(int count);
[[nodiscard]] QString damagedTextsHeading(int count);
[[nodiscard]] Message compactSucceeded(const QString& displayName);
// The chosen file is not sound: nothing was changed, and a repair comes first.
[[nodiscard]] Message compactRefusedDamaged(const QString& displayName);
[[nodiscard]] Message compactFailed();
// A repair or compaction cancelled before it replaced the file: the file is as it was.
[[nodiscard]] Message repairCancelled(const QString& displayName);
[[nodiscard]] Message compactCancelled(const QString& displayName);
[[nodiscard]] Message shippedFileRefused(const QString& displayName);
[[nodiscard]] Message deleted(const QString& displayName);
[[nodiscard]] Message deleteFailed(const QString& description);

// The messages that report an outcome, in the order they are shown; a repair's shows at most
// maxRanges ranges of each kind.
[[nodiscard]] QList<Message> forOutcome(const QString& displayName, const RepairOutcome& outcome, int maxRanges = 5);
[[nodiscard]] QList<Message> forOutcome(const QString& displayName, const CompactOutcome& outcome);
[[nodiscard]] QList<Message> forOutcome(const QString& displayName, const DeleteOutcome& outcome);
} // namespace MaintenanceMessages

} // namespace maintenance
