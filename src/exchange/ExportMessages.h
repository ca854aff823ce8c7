#pragma once

#include <QString>
#include <QStringList>

namespace exchange {

struct ExportOutcome;

// The texts of an export that the export window and byeorisol-data share.
namespace ExportMessages {
// Why nothing was written, for a refused outcome (a reference that cannot be read, a line
// break, a text code page 949 or XML cannot hold, a version in the way); the caller adds its
// own advice to the text that code page 949 cannot hold.
[[nodiscard]] QString refusal(const ExportOutcome& outcome);
[[nodiscard]] QString unreadableReference(int number, const QString& reference);
// After the count of verses written and where: the verses appended to an earlier one, if any.
[[nodiscard]] QString movedVerses(const ExportOutcome& outcome);
// The files an export would replace: the one named, or how many there are in the folder. The caller asks or
// advises after it.
[[nodiscard]] QString existing(const QStringList& paths);
// A cancelled export: nothing was written.
inline const QString kCancelled = QStringLiteral("내보내기를 취소했습니다. 아무 파일도 쓰거나 바꾸지 않았습니다.");
} // namespace ExportMessages

} // namespace exchange
