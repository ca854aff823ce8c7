#pragma once

#include <QString>

namespace importer {

// The final messages of a check run, shared by the import window and the command-line companion.
class RunMessages
{
public:
    // The check run found errors; the error log is opened after this message.
    [[nodiscard]] static QString testFinishedWithErrors()
    {
        return QStringLiteral("테스트 작업이 완료되었습니다.\r\n\r\n"
                              "그러나 일부 텍스트파일에서 편집오류가 발견되어 오류목록파일('err.txt')을 열겠습니다.\r\n"
                              "한번 살펴보시고 오류를 수정하여 주십시오.\r\n"
                              "('err.txt'파일의 참조가 완료되면 삭제하십시오)");
    }

    // The check run found no errors.
    [[nodiscard]] static QString testFinishedWithoutErrors()
    {
        return QStringLiteral("테스트 작업이 완료되었습니다.\r\n\r\n"
                              "지금 목록에 있는 텍스트파일은 편집오류가 발견되지 않았습니다.");
    }
};

} // namespace importer
