#include "books/BookAbbreviations.h"
#include "exchange/VersionExport.h"
#include "platform/CodePage949.h"

#include <array>
#include <optional>

namespace exchange {

namespace {

// Code page 949 files end their lines as Windows does, UTF-8 files as Linux does.
const QString kCodePage949LineEnd = QStringLiteral("\r\n");
const QString kUtf8LineEnd = QStringLiteral("\n");
constexpr char kUtf8ByteOrderMark[] = "\xEF\xBB\xBF";

// The text in code page 949, or nothing when a character of it has no place there.
std::optional<QByteArray> inCodePage949(const QString& text)
{
    auto encoded = platform::CodePage949::encode(text);
    if (!encoded.complete) {
        return std::nullopt;
    }
    return std::move(encoded.bytes);
}

// A verse's line: its reference, one space and its text, then the line end.
QString lineOf(const Verse& verse, const QString& lineEnd = kCodePage949LineEnd)
{
    return verse.reference + u' ' + *verse.text + lineEnd;
}

} // namespace

std::optional<ExportPlan> lineBreakRefusal(const QList<Verse>& verses)
{
    for (const Verse& verse : verses) {
        if (verse.text && (verse.text->contains(u'\n') || verse.text->contains(u'\r'))) {
            ExportPlan plan;
            plan.result = ExportResult::LineBreak;
            plan.refused = verse;
            return plan;
        }
    }
    return std::nullopt;
}

QString textFileName(int bookNumber)
{
    return QStringLiteral("%1-%2.txt")
        .arg(bookNumber, 2, 10, QLatin1Char('0'))
        .arg(books::BookAbbreviations::at(bookNumber));
}

ExportPlan planTextFiles(const QList<Verse>& verses, TextEncoding encoding)
{
    if (auto refused = lineBreakRefusal(verses)) {
        return *refused;
    }
    ExportPlan plan;

    // Each book's verses in the order of its lines, and the length of its lines.
    std::array<QList<const Verse*>, books::BookAbbreviations::kCount> lines;
    std::array<qsizetype, books::BookAbbreviations::kCount> lengths{};
    for (const Verse& verse : verses) {
        if (!verse.text) {
            continue;
        }
        const auto book = static_cast<std::size_t>(verse.bookNumber - 1);
        lines[book].append(&verse);
        lengths[book] += verse.reference.size() + 1 + verse.text->size() + kCodePage949LineEnd.size();
        ++plan.versesWritten;
    }

    // Encoded book by book; a book that cannot be encoded is searched verse by verse.
    // The verses of the books come in the order of the verses, so that the verse
    // named is the first in the version that cannot be written.
    std::optional<const Verse*> firstUnencodable;
    for (int book = 1; book <= books::BookAbbreviations::kCount; ++book) {
        const auto index = static_cast<std::size_t>(book - 1);
        QString content;
        content.reserve(lengths[index]);
        for (const Verse* verse : lines[index]) {
            content += lineOf(*verse, encoding == TextEncoding::Utf8 ? kUtf8LineEnd : kCodePage949LineEnd);
        }
        ExportFile file{textFileName(book), {}};
        if (encoding == TextEncoding::Utf8) {
            file.bytes = QByteArray(kUtf8ByteOrderMark) + content.toUtf8();
        } else if (const auto bytes = inCodePage949(content)) {
            file.bytes = *bytes;
        } else {
            for (const Verse* verse : lines[index]) {
                if (!inCodePage949(lineOf(*verse)) && (!firstUnencodable || verse < *firstUnencodable)) {
                    firstUnencodable = verse;
                    break;
                }
            }
        }
        plan.files.append(std::move(file));
    }
    if (firstUnencodable) {
        plan = ExportPlan{};
        plan.result = ExportResult::Unencodable;
        plan.refused = **firstUnencodable;
    }
    return plan;
}

} // namespace exchange
