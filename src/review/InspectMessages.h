#pragma once

#include "platform/MessageIcon.h"
#include "review/VersionInspection.h"

#include <QString>
#include <optional>

namespace review {

// The texts of an inspection of a version that the inspection window and byeorisol-data share.
namespace InspectMessages {
// What a kind of finding is called: "빈 본문", "깨진 글자(U+FFFD)", ...
[[nodiscard]] QString kind(InspectionKind kind);
// The kind of a name on the command line ("empty", "replacement", ...).
[[nodiscard]] std::optional<InspectionKind> kindOfKey(const QString& key);
// What a finding adds after its excerpt: for Length, "(42자, 비교 역본 7자)"; otherwise nothing.
[[nodiscard]] QString detail(const Finding& finding);
// "찾은 곳 3군데 (빈 본문 2, 겹친 공백 1)": the kinds that occur, in the order of InspectionKind.
[[nodiscard]] QString counts(const InspectOutcome& outcome);
// "점검한 본문 31,100개에서 이상한 곳을 찾지 못했습니다."
[[nodiscard]] QString clean(const InspectOutcome& outcome);
inline const QString kCancelled = QStringLiteral("점검을 취소했습니다.");
// Why an inspection stopped: the file's display name, two line breaks, the engine's description.
[[nodiscard]] platform::Message failure(const InspectOutcome& outcome, const QString& path, const QString& against);
} // namespace InspectMessages

} // namespace review
