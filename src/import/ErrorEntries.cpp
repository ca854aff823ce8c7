#include "import/ErrorEntries.h"

namespace importer {

QStringList ErrorEntries::fileHeading(const QString& fileEntry)
{
    return {QStringLiteral(" "), fileEntry + QStringLiteral("파일에서...")};
}

QString ErrorEntries::lineEntry(qint64 lineNumber, const ParsedLine& parsed)
{
    const QString reason = lineReason(parsed);
    return reason.isEmpty() ? reason : QString::number(lineNumber) + QStringLiteral("줄▶ ") + reason;
}

QString ErrorEntries::lineReason(const ParsedLine& parsed)
{
    switch (parsed.outcome) {
    case LineOutcome::MissingColon:
        return QStringLiteral("':'문자가 없어 '구절명'을 얻을 수 없음!");
    case LineOutcome::VerseNotNumeric:
        return QStringLiteral("':'문 자 다음에 숫자로된 '절'이 나와야 합니다!");
    case LineOutcome::VerseTooLong:
        return QStringLiteral("절이 4자가 넘습니다. 3자리가 넘은 절은 없기 때문에 편집오류 가능성이 높습니다!");
    case LineOutcome::ChapterNotFound:
        return QStringLiteral("'장'을 찾을 수 없습니다! 편집상태 확인!");
    case LineOutcome::UnknownBook:
        return QStringLiteral("('") + parsed.bookText +
               QStringLiteral("')약자명을 가진 성경책은 없습니다! 편집상태 확인!");
    case LineOutcome::UnknownReference:
        return QStringLiteral("('") + parsed.reference +
               QStringLiteral("') 성경구절 표시에 오류가 있습니다! 편집상태 확인!");
    case LineOutcome::Blank:
    case LineOutcome::Accepted:
        break;
    }
    return {};
}

QString ErrorEntries::faultEntry(const SourceEntry& entry)
{
    const QString column =
        entry.fault == SourceFault::MalformedXml ? QStringLiteral(" %1칸").arg(entry.column) : QString();
    return QString::number(entry.lineNumber) + QStringLiteral("줄") + column + QStringLiteral("▶ ") +
           faultReason(entry);
}

QString ErrorEntries::faultReason(const SourceEntry& entry)
{
    const QString quoted = QStringLiteral("('") + entry.detail;
    switch (entry.fault.value_or(SourceFault::TooLong)) {
    case SourceFault::MalformedXml:
        if (!entry.endsFile) {
            return QStringLiteral("XML 형식에 오류가 있어 다음 절까지 건너뛰었습니다! (") + entry.detail + u')' +
                   (entry.key.isEmpty() ? QString() : QStringLiteral(" 읽지 못한 절: ") + entry.key);
        }
        return QStringLiteral("XML 형식에 오류가 있어 이 뒤로는 읽지 않았습니다! (") + entry.detail + u')';
    case SourceFault::NotABible:
        return quoted + QStringLiteral("') OSIS나 Zefania 성경 XML 파일이 아닙니다!");
    case SourceFault::MissingBookId:
        return QStringLiteral("'\\id'로 성경책을 밝히기 전에 장이나 절이 나왔습니다! 편집상태 확인!");
    case SourceFault::TextBeforeBookId:
        return QStringLiteral("'\\id'로 성경책을 밝히기 전의 글은 본문이 아니어서 읽지 않았습니다.");
    case SourceFault::UnknownBookId:
        return quoted + QStringLiteral("') 성경책 표시를 알 수 없습니다! 편집상태 확인!");
    case SourceFault::VerseRange:
        return quoted + QStringLiteral("') 여러 절을 묶은 구절은 절마다 나누어야 합니다! 편집상태 확인!");
    case SourceFault::TooLong:
        break;
    }
    return QStringLiteral("구절(또는 줄, 요소)이 너무 길어 읽지 않았습니다! 편집상태 확인!");
}

} // namespace importer
