#pragma once

#include "platform/FileFailure.h"

#include <QString>
#include <cstdio>

namespace cli {

// The help of byeorisol-data, in Korean like every other text of the program: the form of a
// command line and one line per command.
[[nodiscard]] QString usageText();

// Prints the help on out.
void printUsage(std::FILE* out);

// A command line that makes no sense: why, on standard error, then the help. Answers the exit code.
int usageError(const QString& why);

// The installed program could not copy its shipped files into the user's install folder: the file and why.
[[nodiscard]] QString shippedFilesFailure(const platform::FileFailure& failure);

// Prints that on standard error. Answers the exit code.
int programFolderFailure(const platform::FileFailure& failure);

// Why a command line makes no sense.
namespace UsageErrors {
inline const QString kProgramFolderMissing = QStringLiteral("--program-folder 다음에 프로그램 폴더를 적어 주십시오.");
// The folder named by --program-folder is not there; the folder on the line after.
[[nodiscard]] inline QString programFolderNotFound(const QString& folder)
{
    return QStringLiteral("--program-folder의 폴더를 찾을 수 없습니다.\n") + folder;
}
inline const QString kNoCommand = QStringLiteral("명령을 적어 주십시오.");
[[nodiscard]] inline QString unknownCommand(const QString& command)
{
    return QStringLiteral("알 수 없는 명령입니다: ") + command;
}
inline const QString kBuildNeedsName = QStringLiteral("build 다음에 역본명을 적어 주십시오.");
// --sword without a module; --sword with files beside it.
inline const QString kSwordNeedsModule = QStringLiteral("--sword 다음에 SWORD 성경 모듈의 이름을 적어 주십시오.");
inline const QString kSwordOrFiles = QStringLiteral("--sword로 모듈을 읽을 때는 파일을 함께 적지 않습니다.");
inline const QString kShowNeedsArguments = QStringLiteral("show 다음에 역본파일과 구절을 적어 주십시오.");
inline const QString kSaveNeedsArguments = QStringLiteral("save 다음에 역본파일, 구절, 본문을 적어 주십시오.");
[[nodiscard]] inline QString needsOnePath(const QString& command)
{
    return command + QStringLiteral(" 다음에 역본파일 하나만 적어 주십시오.");
}
// history and undo: a path and perhaps a reference.
[[nodiscard]] inline QString needsPathAndReference(const QString& command)
{
    return command + QStringLiteral(" 다음에 역본파일과, 필요하면 구절 하나를 적어 주십시오.");
}
// export: its arguments.
inline const QString kExportNeedsArguments =
    QStringLiteral("export 다음에 역본파일과 내보낼 폴더(--format이 text가 아니면 내보낼 파일)를 적어 주십시오.");
inline const QString kExportFormatValues =
    QStringLiteral("--format 다음에 text, imp, osis, zefania, vpl 가운데 하나를 적어 주십시오.");
inline const QString kExportEncodingValues = QStringLiteral("--encoding 다음에 cp949 또는 utf-8을 적어 주십시오.");
// --encoding cp949 with a format other than text.
inline const QString kExportFileIsUtf8 = QStringLiteral(
    "IMP, OSIS, Zefania, VPL 파일은 언제나 UTF-8로 씁니다. --encoding cp949는 텍스트 파일에만 쓸 수 있습니다.");
inline const QString kCompareNeedsArguments = QStringLiteral("compare 다음에 비교할 역본파일 둘을 적어 주십시오.");
inline const QString kFindNeedsArguments = QStringLiteral("find 다음에 역본파일과 찾을 내용을 적어 주십시오.");
inline const QString kReplaceNeedsArguments =
    QStringLiteral("replace 다음에 역본파일, 찾을 내용, 바꿀 내용을 적어 주십시오.");
[[nodiscard]] inline QString unknownOption(const QString& option)
{
    return QStringLiteral("알 수 없는 선택사항입니다: ") + option;
}
} // namespace UsageErrors

} // namespace cli
