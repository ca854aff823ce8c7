#pragma once

#include <QString>

namespace editor {

// The messages of the verse editor's rules, shared by the editor window and the
// command-line companion. The window's own texts (captions, the no-version
// refusal, the Enter warning) live in the window.
class EditorMessages
{
public:
    // Go with a reference box that is empty once its end spaces are gone.
    [[nodiscard]] static QString goEmptyReference() { return QStringLiteral("이동할 성경구절을 입력하여 주십시오 !"); }

    // Go with a reference that the version's index does not hold.
    [[nodiscard]] static QString goReferenceNotFound()
    {
        return QStringLiteral("구절입력 형식에 오류가 있습니다. 확인하고 다시 입력하여 주십시오 !");
    }

    // Save with an empty reference box (tested before any trimming).
    [[nodiscard]] static QString saveEmptyReference() { return QStringLiteral("저장할 성경구절이 비여 있습니다 !"); }

    // Save with a text that is empty once its end spaces are gone.
    [[nodiscard]] static QString saveEmptyText() { return QStringLiteral("저장할 성경본문이 없습니다 !"); }

    // Save under a reference that the version's index does not hold.
    [[nodiscard]] static QString saveReferenceNotFound()
    {
        return QStringLiteral("성경구절명 표기가 잘못되어 있습니다. 확인하여 주십시오 !");
    }

    // Save of a text that holds a line break.
    [[nodiscard]] static QString saveLineBreak()
    {
        return QStringLiteral(
            "라인분리(줄바꿈) 문자가 발견되어 저장할 수 없습니다. 줄바꿈 문자을 제거한후 저장하십시오!");
    }

    // Previous or next in a version whose 번호 do not run from 1 to the record count
    // without gaps: the neighbour of the verse on display is not there.
    [[nodiscard]] static QString stepNumberingGap()
    {
        return QStringLiteral("이 역본은 구절 번호가 1부터 빠짐없이 이어져 있지 않아 이전/다음 구절로 이동할 수 "
                              "없습니다 !\r\n이동할 성경구절을 직접 입력하여 주십시오 !");
    }

    // Previous or next before any verse of the open version has been shown.
    [[nodiscard]] static QString stepWithoutVerse()
    {
        return QStringLiteral("②번 항목에서 먼저 편집할 성경구절로 이동하여 주십시오 !");
    }

    // A file that could not be opened as a version, or an engine failure on it: the
    // display name, two line breaks and the engine's description.
    [[nodiscard]] static QString fileFailure(const QString& displayName, const QString& description)
    {
        return displayName + QStringLiteral("\r\n\r\n") + description;
    }
};

} // namespace editor
