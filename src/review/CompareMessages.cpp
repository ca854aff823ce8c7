#include "review/CompareMessages.h"

#include "platform/FileNames.h"

#include <QStringList>
#include <numeric>

namespace review {

namespace {

const QString kKinds[kDifferenceKinds] = {
    QStringLiteral("본문이 다름"), QStringLiteral("A에 본문 없음"), QStringLiteral("B에 본문 없음"),
    QStringLiteral("A에만 있음"),  QStringLiteral("B에만 있음"),
};
const QString kNumbersDiffer = QStringLiteral(
    "두 역본의 구절 구성이 달라 비교할 수 없습니다.\r\n'%1' 구절의 번호가 A에서는 %2, B에서는 %3입니다.");
const QString kNothingInCommon =
    QStringLiteral("두 역본의 구절 구성이 달라 비교할 수 없습니다.\r\n두 역본에 같은 성경구절이 하나도 없습니다.");
const QString kLineBreaks = QStringLiteral("\r\n\r\n");

} // namespace

QString CompareMessages::kind(VerseDifference kind)
{
    return kKinds[static_cast<int>(kind)];
}

QString CompareMessages::counts(const CompareOutcome& outcome)
{
    QStringList kinds;
    for (int i = 0; i < kDifferenceKinds; ++i) {
        if (outcome.counts[i] > 0) {
            kinds << kKinds[i] + u' ' + QString::number(outcome.counts[i]);
        }
    }
    return QStringLiteral("다른 구절 %1개 (%2)")
        .arg(std::accumulate(outcome.counts.cbegin(), outcome.counts.cend(), 0))
        .arg(kinds.join(QStringLiteral(", ")));
}

platform::Message CompareMessages::failure(const CompareOutcome& outcome, const QString& pathA, const QString& pathB)
{
    using platform::MessageIcon;
    QString nameA = platform::getFileName(pathA);
    QString nameB = platform::getFileName(pathB);
    if (nameA.compare(nameB, Qt::CaseInsensitive) == 0) {
        nameA = pathA;
        nameB = pathB;
    }
    const QString& name = outcome.file == 0 ? nameA : nameB;
    switch (outcome.result) {
    case CompareResult::EngineFailed:
        return {MessageIcon::None, name + kLineBreaks + outcome.failure.description};
    case CompareResult::DuplicateReference:
        return {MessageIcon::Exclamation,
                name + kLineBreaks +
                    QStringLiteral("'%1' 구절의 레코드가 둘 이상 있어 비교할 수 없습니다.").arg(outcome.reference)};
    case CompareResult::DifferentSkeletons:
        return {MessageIcon::Exclamation,
                QStringLiteral("A: ") + nameA + QStringLiteral("\r\nB: ") + nameB + kLineBreaks +
                    (outcome.reference.isEmpty()
                         ? kNothingInCommon
                         : kNumbersDiffer.arg(outcome.reference, QString::number(outcome.numberA),
                                              QString::number(outcome.numberB)))};
    case CompareResult::Cancelled:
        return {MessageIcon::Information, CompareMessages::kCancelled};
    case CompareResult::Same:
    case CompareResult::Different:
        break;
    }
    return {};
}

} // namespace review
