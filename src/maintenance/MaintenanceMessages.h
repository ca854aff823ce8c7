#pragma once

#include "platform/MessageIcon.h"

#include <QList>
#include <QString>

namespace maintenance {

struct RepairOutcome;
struct CompactOutcome;
struct DeleteOutcome;

// One message to the user: the main window shows it in a box, byeorisol-data prints it.
struct Message
{
    platform::MessageIcon icon = platform::MessageIcon::None;
    QString text;

    friend bool operator==(const Message&, const Message&) = default;
};

// The texts of the repair, compaction and deletion commands, in one place for
// the main window and the command-line companion. A text about a chosen file
// starts with its display name and an empty line.
class MaintenanceMessages
{
public:
    [[nodiscard]] static QString repairConfirmation(const QString& displayName);
    [[nodiscard]] static QString compactConfirmation(const QString& displayName);
    [[nodiscard]] static QString deleteConfirmation(const QString& displayName);

    [[nodiscard]] static Message repairSucceeded(const QString& displayName);
    // "치료하지 못했습니다!", CR, "오류 번호: " and the number, CR, the description.
    [[nodiscard]] static Message repairFailed(int number, const QString& description);
    [[nodiscard]] static Message compactSucceeded(const QString& displayName);
    [[nodiscard]] static Message compactFailed();
    [[nodiscard]] static Message shippedFileRefused(const QString& displayName);
    [[nodiscard]] static Message deleted(const QString& displayName);
    [[nodiscard]] static Message deleteFailed(const QString& description);

    // The file system's descriptions of a failed deletion.
    [[nodiscard]] static QString fileNotFound();
    [[nodiscard]] static QString pathNotFound();
    [[nodiscard]] static QString permissionDenied();
    [[nodiscard]] static QString accessError();

    // The messages that report an outcome, in the order they are shown.
    [[nodiscard]] static QList<Message> forOutcome(const QString& displayName, const RepairOutcome& outcome);
    [[nodiscard]] static QList<Message> forOutcome(const QString& displayName, const CompactOutcome& outcome);
    [[nodiscard]] static QList<Message> forOutcome(const QString& displayName, const DeleteOutcome& outcome);
};

} // namespace maintenance
