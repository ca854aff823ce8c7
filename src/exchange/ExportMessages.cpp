#include "exchange/ExportMessages.h"

#include "exchange/VersionExport.h"

namespace exchange {

namespace {

const QString kMovedHeading = QStringLiteral("KJV 절 구분에 없는 구절은 앞 구절에 붙였습니다:");
const QString kMovedLine = QStringLiteral("%1 → %2");
const QString kUnreadableReference =
    QStringLiteral("번호 %1인 레코드의 성경구절('%2')이 '창 1:1'과 같은 형식이 아니어서 읽을 수 없습니다.");
const QString kLineBreak =
    QStringLiteral("'%1' 구절의 본문에 줄바꿈 문자가 있어 한 줄로 쓸 수 없으므로 내보내지 않았습니다.");
const QString kUnencodable =
    QStringLiteral("'%1' 구절의 본문에 코드 페이지 949로 쓸 수 없는 문자가 있어 내보내지 않았습니다.");
const QString kNotXmlText =
    QStringLiteral("'%1' 구절의 본문에 XML 파일에 쓸 수 없는 제어 문자가 있어 내보내지 않았습니다.");
const QString kExistingFile = QStringLiteral("'%1' 파일이 이미 있습니다.");
const QString kExistingFiles = QStringLiteral("내보낼 폴더에 같은 이름의 파일이 %1개 있습니다.");
const QString kCancelled = QStringLiteral("내보내기를 취소했습니다. 아무 파일도 쓰거나 바꾸지 않았습니다.");
const QString kLineBreaks = QStringLiteral("\r\n\r\n");
const QString kLineBreakOnce = QStringLiteral("\r\n");

} // namespace

QString ExportMessages::refusal(const ExportOutcome& outcome)
{
    switch (outcome.result) {
    case ExportResult::UnreadableReference:
        return unreadableReference(outcome.verse.number, outcome.verse.reference);
    case ExportResult::LineBreak:
        return kLineBreak.arg(outcome.verse.reference);
    case ExportResult::Unencodable:
        return kUnencodable.arg(outcome.verse.reference);
    case ExportResult::NotXmlText:
        return kNotXmlText.arg(outcome.verse.reference);
    default:
        return {};
    }
}

QString ExportMessages::unreadableReference(int number, const QString& reference)
{
    return kUnreadableReference.arg(number).arg(reference);
}

QString ExportMessages::movedVerses(const ExportOutcome& outcome)
{
    if (outcome.moved.isEmpty()) {
        return {};
    }
    QString text = kLineBreaks + kMovedHeading;
    for (const MovedVerse& moved : outcome.moved) {
        text += kLineBreakOnce + kMovedLine.arg(moved.reference, moved.into);
    }
    return text;
}

QString ExportMessages::existing(const QStringList& paths)
{
    return paths.size() == 1 ? kExistingFile.arg(paths.first()) : kExistingFiles.arg(paths.size());
}

QString ExportMessages::cancelled()
{
    return kCancelled;
}

} // namespace exchange
