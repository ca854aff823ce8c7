#include "exchange/ExportMessages.h"

#include "exchange/VersionExport.h"

namespace exchange {

QString ExportMessages::refusal(const ExportOutcome& outcome)
{
    switch (outcome.result) {
    case ExportResult::UnreadableReference:
        return unreadableReference(outcome.verse.number, outcome.verse.reference);
    case ExportResult::LineBreak:
        return QStringLiteral("'%1' 구절의 본문에 줄바꿈 문자가 있어 한 줄로 쓸 수 없으므로 내보내지 않았습니다.")
            .arg(outcome.verse.reference);
    case ExportResult::Unencodable:
        return QStringLiteral("'%1' 구절의 본문에 코드 페이지 949로 쓸 수 없는 문자가 있어 내보내지 않았습니다.")
            .arg(outcome.verse.reference);
    case ExportResult::NotXmlText:
        return QStringLiteral("'%1' 구절의 본문에 XML 파일에 쓸 수 없는 제어 문자가 있어 내보내지 않았습니다.")
            .arg(outcome.verse.reference);
    case ExportResult::WouldReplaceVersion:
        return QStringLiteral("'%1' 파일은 역본파일(데이터베이스)이므로 내보낸 파일로 바꾸지 않았습니다.")
            .arg(outcome.existing.value(0));
    default:
        return {};
    }
}

QString ExportMessages::unreadableReference(int number, const QString& reference)
{
    return QStringLiteral("번호 %1인 레코드의 성경구절('%2')이 '창 1:1'과 같은 형식이 아니어서 읽을 수 없습니다.")
        .arg(number)
        .arg(reference);
}

QString ExportMessages::movedVerses(const ExportOutcome& outcome)
{
    if (outcome.moved.isEmpty()) {
        return {};
    }
    QString text = QStringLiteral("\r\n\r\nKJV 절 구분에 없는 구절은 앞 구절에 붙였습니다:");
    for (const MovedVerse& moved : outcome.moved) {
        text += QStringLiteral("\r\n%1 → %2").arg(moved.reference, moved.into);
    }
    return text;
}

QString ExportMessages::existing(const QStringList& paths)
{
    return paths.size() == 1 ? QStringLiteral("'%1' 파일이 이미 있습니다.").arg(paths.first())
                             : QStringLiteral("내보낼 폴더에 같은 이름의 파일이 %1개 있습니다.").arg(paths.size());
}

} // namespace exchange
