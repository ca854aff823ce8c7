#include "review/InspectMessages.h"

#include "platform/FileNames.h"
#include "platform/Thousands.h"

#include <QStringList>

namespace review {

namespace {

struct KindText
{
    const char16_t* key;
    const char16_t* name;
};

// In the order of InspectionKind.
constexpr KindText kKinds[kInspectionKinds] = {
    {u"empty", u"빈 본문"},
    {u"replacement", u"깨진 글자(U+FFFD)"},
    {u"control", u"제어 문자"},
    {u"mojibake", u"인코딩이 잘못된 글자"},
    {u"decomposed", u"풀어쓴 한글(자모)"},
    {u"edge-spaces", u"앞뒤 공백"},
    {u"double-spaces", u"겹친 공백"},
    {u"brackets", u"짝이 없는 괄호·따옴표"},
    {u"repeated-word", u"두 번 거듭된 낱말"},
    {u"same-as-previous", u"앞 구절과 같은 본문"},
    {u"length", u"비교 역본과 길이가 크게 다름"},
};

} // namespace

QString InspectMessages::kind(InspectionKind kind)
{
    return QString::fromUtf16(kKinds[bit(kind)].name);
}

std::optional<InspectionKind> InspectMessages::kindOfKey(const QString& key)
{
    for (int i = 0; i < kInspectionKinds; ++i) {
        if (key == QString::fromUtf16(kKinds[i].key)) {
            return static_cast<InspectionKind>(i);
        }
    }
    return std::nullopt;
}

QString InspectMessages::detail(const Finding& finding)
{
    return finding.kind == InspectionKind::Length
               ? QStringLiteral("(%1자, 비교 역본 %2자)")
                     .arg(platform::thousands(finding.letters), platform::thousands(finding.otherLetters))
               : QString();
}

QString InspectMessages::counts(const InspectOutcome& outcome)
{
    QStringList kinds;
    for (int i = 0; i < kInspectionKinds; ++i) {
        if (outcome.counts[i] > 0) {
            kinds << kind(static_cast<InspectionKind>(i)) + u' ' + platform::thousands(outcome.counts[i]);
        }
    }
    return QStringLiteral("찾은 곳 %1군데 (%2)")
        .arg(platform::thousands(outcome.findings.size()), kinds.join(QStringLiteral(", ")));
}

QString InspectMessages::clean(const InspectOutcome& outcome)
{
    return QStringLiteral("본문 %1개를 점검하였으나 이상한 곳을 찾지 못했습니다.")
        .arg(platform::thousands(outcome.verses));
}

platform::Message InspectMessages::failure(const InspectOutcome& outcome, const QString& path, const QString& against)
{
    return {platform::MessageIcon::Exclamation, platform::getFileName(outcome.file == 0 ? path : against) +
                                                    QStringLiteral("\r\n\r\n") + outcome.failure.description};
}

} // namespace review
