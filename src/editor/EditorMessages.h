#pragma once

#include "books/KoreanBookNames.h"
#include "books/ReferenceParser.h"
#include "platform/MessageIcon.h"
#include "platform/Thousands.h"
#include "versiondb/Error.h"
#include "versiondb/History.h"

#include <QString>

namespace editor {

// The messages of the verse editor's rules, shared by the editor window and the
// command-line companion. The window's own texts (captions, the no-version
// refusal, the Enter warning) live in the window.
namespace EditorMessages {
// "은" after a last syllable that ends in a consonant, "는" after one that does not.
[[nodiscard]] inline QString topicParticle(const QString& word)
{
    const char16_t last = word.isEmpty() ? u'\0' : word.back().unicode();
    const bool closed = last >= u'가' && last <= u'힣' && (last - u'가') % 28 != 0;
    return closed ? QStringLiteral("은") : QStringLiteral("는");
}

// Go with a reference box that is empty once its end spaces are gone.
inline const QString kGoEmptyReference = QStringLiteral("이동할 성경구절을 입력하여 주십시오 !");

// Go with a reference that the version's index does not hold.
inline const QString kGoReferenceNotFound =
    QStringLiteral("구절입력 형식에 오류가 있습니다. 확인하고 다시 입력하여 주십시오 !");

// A reference that names no verse of the version: which part of it is wrong, as the Korean numbering tells;
// otherwise (the form is not a reference's, or the version lacks a verse the numbering has) the text given.
[[nodiscard]] inline QString referenceMistake(const QString& typed, const QString& otherwise)
{
    using Mistake = books::TypedReference::Mistake;
    const books::TypedReference read = books::ReferenceParser::parse(typed);
    const QString book = books::KoreanBookNames::at(read.book).toString();
    switch (read.mistake) {
    case Mistake::NoSuchBook:
        return QStringLiteral("성경에 '%1' 책이 없습니다. 확인하고 다시 입력하여 주십시오 !").arg(read.bookName);
    case Mistake::NoSuchChapter:
        return QStringLiteral("%1%2 %3장까지 있습니다. 확인하고 다시 입력하여 주십시오 !")
            .arg(book, topicParticle(book))
            .arg(read.limit);
    case Mistake::NoSuchVerse:
        return QStringLiteral("%1 %2장은 %3절까지 있습니다. 확인하고 다시 입력하여 주십시오 !")
            .arg(book)
            .arg(read.chapter)
            .arg(read.limit);
    case Mistake::None:
    case Mistake::NotAReference:
        break;
    }
    return otherwise;
}

// Save with an empty reference box (tested before any trimming).
inline const QString kSaveEmptyReference = QStringLiteral("저장할 성경구절이 비어 있습니다 !");

// Save with a text that is empty once its end spaces are gone.
inline const QString kSaveEmptyText = QStringLiteral("저장할 성경본문이 없습니다 !");

// Save under a reference that the version's index does not hold.
inline const QString kSaveReferenceNotFound =
    QStringLiteral("성경구절명 표기가 잘못되어 있습니다. 확인하여 주십시오 !");

// Save of a text that holds a line break.
inline const QString kSaveLineBreak =
    QStringLiteral("라인분리(줄바꿈) 문자가 발견되어 저장할 수 없습니다. 줄바꿈 문자을 제거한후 저장하십시오!");

// Previous or next in a version whose 번호 do not run from 1 to the record count
// without gaps: the neighbour of the verse on display is not there.
inline const QString kStepNumberingGap =
    QStringLiteral("이 역본은 구절 번호가 1부터 빠짐없이 이어져 있지 않아 이전/다음 구절로 이동할 수 "
                   "없습니다 !\r\n이동할 성경구절을 직접 입력하여 주십시오 !");

// Previous or next before any verse of the open version has been shown.
inline const QString kStepWithoutVerse = QStringLiteral("②번 항목에서 먼저 편집할 성경구절로 이동하여 주십시오 !");

// A message about a version: its display name, two line breaks and the text.
[[nodiscard]] inline QString aboutVersion(const QString& displayName, const QString& text)
{
    return displayName + QStringLiteral("\r\n\r\n") + text;
}

// The engine's failure on a version: its description about the version, without an icon.
[[nodiscard]] inline platform::Message failure(const QString& displayName, const versiondb::ErrorItem& failure)
{
    return {platform::MessageIcon::None, aboutVersion(displayName, failure.description)};
}

// An undo, or a history, of a version or verse that has none.
inline const QString kNothingToTakeBack = QStringLiteral("되돌릴 변경이 없습니다 !");
inline const QString kNothingToRedo = QStringLiteral("다시 실행할 변경이 없습니다 !");
inline const QString kNoHistory = QStringLiteral("변경 이력이 없습니다.");

// What a text is where there is none.
inline const QString kNoText = QStringLiteral("(본문 없음)");
[[nodiscard]] inline QString textOf(const QVariant& text)
{
    return text.isNull() ? kNoText : text.toString();
}

// One change: its number, time, source, number of verses and what it names.
[[nodiscard]] inline QString changeLine(const versiondb::Change& change)
{
    return QStringLiteral("%1  %2  %3  %4개 구절%5")
        .arg(change.id)
        .arg(change.time.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")), versiondb::History::sourceName(change.source),
             platform::thousands(change.verses),
             change.detail.isEmpty() ? QString() : QStringLiteral("  ") + change.detail);
}

// One verse's change: its change and the text before and after it, on three lines.
[[nodiscard]] inline QString verseChangeLines(const versiondb::VerseChange& change)
{
    return changeLine(change.change) + QStringLiteral("\n  이전: ") + textOf(change.before) +
           QStringLiteral("\n  이후: ") + textOf(change.after);
}

// Find or replace with an empty pattern; with a regular expression that does not compile, at the character
// where the engine found the fault (counted from 1), or at its end.
inline const QString kEmptyPattern = QStringLiteral("찾을 내용을 입력하여 주십시오 !");
[[nodiscard]] inline QString invalidPattern(const QString& pattern, qsizetype offset, const QString& error)
{
    const QString where =
        offset < pattern.size() ? QStringLiteral("%1번째 글자").arg(qint64(offset) + 1) : QStringLiteral("끝");
    return QStringLiteral("정규식의 %1에 오류가 있습니다: %2").arg(where, error);
}

// A verse that a replacement leaves unchanged, by the save rules: emptied, or with a line break.
inline const QString kReplaceLeftEmpty = QStringLiteral("본문이 비게 되어 바꾸지 않음");
inline const QString kReplaceLineBreak = QStringLiteral("줄바꿈이 생겨 바꾸지 않음");
// A verse whose text changed between the preview and the apply.
inline const QString kReplaceStale = QStringLiteral("미리보기 뒤에 본문이 바뀌어 바꾸지 않음");

// A replacement's outcome: how many verses it would change (a preview) or changed, in which change of the
// history, and how many it left unchanged.
[[nodiscard]] inline QString replacePreviewed(qint64 verses, qint64 unchanged)
{
    return QStringLiteral("%1개 구절을 바꿀 수 있습니다. 바꾸지 않는 구절: %2개")
        .arg(platform::thousands(verses), platform::thousands(unchanged));
}
[[nodiscard]] inline QString replaceApplied(qint64 verses, qint64 change, qint64 unchanged)
{
    return QStringLiteral("%1개 구절을 바꾸었습니다 (변경 %2번). 바꾸지 않은 구절: %3개")
        .arg(platform::thousands(verses), QString::number(change), platform::thousands(unchanged));
}
inline const QString kNothingFound = QStringLiteral("찾는 내용이 없습니다.");
// A find or preview cancelled before its end; a replacement cancelled, which stored nothing.
inline const QString kSearchCancelled = QStringLiteral("찾기를 취소했습니다.");
inline const QString kReplaceCancelled = QStringLiteral("바꾸기를 취소했습니다. 바뀐 구절은 없습니다.");

// The heading of what an undo or a restore stored.
[[nodiscard]] inline QString takenBack(const versiondb::Change& made)
{
    return QStringLiteral("변경 %1번을 되돌렸습니다 (%2개 구절).").arg(made.detail, platform::thousands(made.verses));
}
// The heading of what a redo stored: the change it brought back.
[[nodiscard]] inline QString broughtBack(qint64 change, const versiondb::Change& made)
{
    return QStringLiteral("변경 %1번을 다시 실행했습니다 (%2개 구절).")
        .arg(QString::number(change), platform::thousands(made.verses));
}
} // namespace EditorMessages

} // namespace editor
