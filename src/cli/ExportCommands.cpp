#include "cli/Commands.h"
#include "cli/ConsoleObserver.h"
#include "cli/ExitCode.h"
#include "cli/Interrupt.h"
#include "cli/Usage.h"
#include "exchange/ExportMessages.h"
#include "exchange/NullReport.h"
#include "exchange/VersionExport.h"
#include "platform/FileNames.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

namespace cli {

namespace {

// The texts of export and report.
const QString kFormatOption = QStringLiteral("--format");
const QString kEncodingOption = QStringLiteral("--encoding");
const QString kForceOption = QStringLiteral("--force");

// The formats by their names after --format, and as the message after an export names their files.
struct FormatName
{
    const char16_t* option;
    const char16_t* file;
    exchange::ExportFormat format;
};
constexpr FormatName kFormats[] = {
    {u"text", u"텍스트", exchange::ExportFormat::Text}, {u"imp", u"IMP", exchange::ExportFormat::Imp},
    {u"osis", u"OSIS", exchange::ExportFormat::Osis},   {u"zefania", u"Zefania", exchange::ExportFormat::Zefania},
    {u"vpl", u"VPL", exchange::ExportFormat::Vpl},
};
const QString kLineBreaks = QStringLiteral("\r\n\r\n");

// A message about the version: its display name, two line breaks, then the text.
void printAbout(const QString& version, const QString& text)
{
    printMessage(platform::getFileName(version) + kLineBreaks + text);
}

// The export's request, or nothing with why set when the arguments make no sense.
std::optional<exchange::ExportRequest> parseExportArguments(const QStringList& arguments, QString& why)
{
    exchange::ExportRequest parsed;
    QStringList positional;
    bool encodingGiven = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == kFormatOption || argument == kEncodingOption) {
            const QString value = arguments.value(i + 1);
            ++i;
            const auto named = std::find_if(std::begin(kFormats), std::end(kFormats), [&value](const FormatName& name) {
                return value == QStringView(name.option);
            });
            if (argument == kFormatOption && named != std::end(kFormats)) {
                parsed.format = named->format;
            } else if (argument == kEncodingOption && value == QStringLiteral("cp949")) {
                parsed.encoding = exchange::TextEncoding::Cp949;
                encodingGiven = true;
            } else if (argument == kEncodingOption && value == QStringLiteral("utf-8")) {
                parsed.encoding = exchange::TextEncoding::Utf8;
                encodingGiven = true;
            } else {
                why = argument == kFormatOption ? UsageErrors::kExportFormatValues : UsageErrors::kExportEncodingValues;
                return std::nullopt;
            }
        } else if (argument == kForceOption) {
            parsed.replace = true;
        } else if (argument.startsWith(QStringLiteral("--"))) {
            why = UsageErrors::unknownOption(argument);
            return std::nullopt;
        } else {
            positional.append(argument);
        }
    }
    if (positional.size() != 2) {
        why = UsageErrors::kExportNeedsArguments;
        return std::nullopt;
    }
    if (parsed.format != exchange::ExportFormat::Text && encodingGiven &&
        parsed.encoding != exchange::TextEncoding::Utf8) {
        why = UsageErrors::kExportFileIsUtf8;
        return std::nullopt;
    }
    parsed.versionPath = platform::fullPath(positional.at(0));
    parsed.destination = positional.at(1);
    return parsed;
}

} // namespace

int exportCommand(const QStringList& arguments)
{
    QString why;
    std::optional<exchange::ExportRequest> request = parseExportArguments(arguments, why);
    if (!request) {
        return usageError(why);
    }
    const QString version = request->versionPath;
    platform::RunControl control;
    const InterruptScope interrupt(control);
    request->control = &control;
    const exchange::ExportOutcome outcome = exchange::exportVersion(*request);
    switch (outcome.result) {
    case exchange::ExportResult::Written:
        break;
    case exchange::ExportResult::WouldReplace:
        printAbout(version, exchange::ExportMessages::existing(outcome.existing) +
                                QStringLiteral("\r\n내보내지 않았습니다. 바꾸려면 --force를 붙이십시오."));
        return kLineErrorsOrRefused;
    case exchange::ExportResult::Cancelled:
        printAbout(version, exchange::ExportMessages::kCancelled);
        return kCancelled;
    case exchange::ExportResult::EngineFailed:
        printAbout(version, outcome.failure.description);
        return kFailure;
    case exchange::ExportResult::UnreadableReference:
    case exchange::ExportResult::LineBreak:
    case exchange::ExportResult::NotXmlText:
    case exchange::ExportResult::WouldReplaceVersion:
        printAbout(version, exchange::ExportMessages::refusal(outcome));
        return kLineErrorsOrRefused;
    case exchange::ExportResult::Unencodable:
        printAbout(version, exchange::ExportMessages::refusal(outcome) +
                                QStringLiteral("\r\n--encoding utf-8로 UTF-8 텍스트 파일로 내보내십시오."));
        return kLineErrorsOrRefused;
    case exchange::ExportResult::WriteFailed:
        printMessage(outcome.fileFailure.path + kLineBreaks + outcome.fileFailure.description);
        return kFailure;
    }
    const auto named = std::find_if(std::begin(kFormats), std::end(kFormats),
                                    [&request](const FormatName& name) { return request->format == name.format; });
    printAbout(version, QStringLiteral("%1개 구절을 %2 파일로 내보냈습니다.\r\n")
                                .arg(outcome.versesWritten)
                                .arg(QString::fromUtf16(named->file)) +
                            outcome.destination + exchange::ExportMessages::movedVerses(outcome));
    return kSuccess;
}

int reportCommand(const QString& path)
{
    const QString version = platform::fullPath(path);
    const versiondb::VersionVerses verses = versiondb::readVersionVerses(version);
    if (verses.failure) {
        printAbout(version, verses.failure->description);
        return kFailure;
    }
    if (verses.unreadable) {
        printAbout(version, exchange::ExportMessages::unreadableReference(verses.unreadable->number,
                                                                          verses.unreadable->reference));
        return kLineErrorsOrRefused;
    }
    const exchange::VersionReport report = exchange::reportOf(verses.verses);
    QStringList lines{QStringLiteral("레코드: %1").arg(report.records),
                      QStringLiteral("본문이 있는 구절: %1").arg(report.withText),
                      QStringLiteral("본문이 \"null\"인 구절: %1").arg(report.nullWord),
                      QStringLiteral("본문이 없는(Null) 구절: %1").arg(report.nullValue)};
    for (const exchange::VerseRange& range : report.nullRanges) {
        lines << range.text();
    }
    std::fprintf(stdout, "%s\n", lines.join(u'\n').toUtf8().constData());
    std::fflush(stdout);
    return kSuccess;
}

} // namespace cli
