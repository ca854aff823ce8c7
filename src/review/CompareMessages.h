#pragma once

#include "platform/MessageIcon.h"
#include "review/VersionCompare.h"

#include <QString>

namespace review {

// The texts of a comparison of two versions that the comparison window and byeorisol-data share.
namespace CompareMessages {
// How a verse differs: "본문이 다름", "A에 본문 없음", ...
[[nodiscard]] QString kind(VerseDifference kind);
// A changed verse whose words are all the same: only the spaces between them differ.
inline const QString kSpacingOnly = QStringLiteral("띄어쓰기만 다름");
// "다른 구절 3개 (본문이 다름 2, B에만 있음 1)": the kinds that occur, in the order of VerseDifference.
[[nodiscard]] QString counts(const CompareOutcome& outcome);
inline const QString kSame = QStringLiteral("두 역본의 본문이 같습니다.");
inline const QString kCancelled = QStringLiteral("비교를 취소했습니다.");
// Why a comparison stopped, after the file or files it is about: the display name, or for the
// two files "A: ..." and "B: ..." on a line each, then two line breaks. Two files of one
// display name (a version and its backup copy) are named by their full paths.
[[nodiscard]] platform::Message failure(const CompareOutcome& outcome, const QString& pathA, const QString& pathB);
} // namespace CompareMessages

} // namespace review
