// Any text through ParseImportLine: nothing crashes, and what it accepts is canonical and parses
// back to itself.
#include "import/BookAbbreviations.h"
#include "import/ErrorEntries.h"
#include "import/ParseImportLine.h"

#include <QString>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

using importer::LineOutcome;
using importer::ParsedLine;

namespace {

void require(bool condition)
{
    if (!condition) {
        std::abort();
    }
}

bool isDigits(QStringView text)
{
    if (text.isEmpty()) {
        return false;
    }
    for (QChar c : text) {
        if (c < u'0' || c > u'9') {
            return false;
        }
    }
    return true;
}

// book, one space, chapter, ":", verse; numbers without leading zeros, the verse at most three digits.
bool isCanonical(const QString& reference)
{
    const qsizetype space = reference.indexOf(u' ');
    const qsizetype colon = reference.indexOf(u':');
    if (space < 0 || colon < space) {
        return false;
    }
    const QStringView book = QStringView(reference).first(space);
    const QStringView chapter = QStringView(reference).sliced(space + 1, colon - space - 1);
    const QStringView verse = QStringView(reference).sliced(colon + 1);
    const auto noLeadingZero = [](QStringView number) { return number.size() == 1 || number[0] != u'0'; };
    return importer::BookAbbreviations::find(book) != 0 && isDigits(chapter) && isDigits(verse) &&
           noLeadingZero(chapter) && noLeadingZero(verse) && verse.size() <= 3;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    // The first byte chooses how the rest is read: UTF-8 text, or raw UTF-16 code units of any value.
    const char* rest = reinterpret_cast<const char*>(data + 1);
    const auto restSize = static_cast<qsizetype>(size - 1);
    QString line;
    if (data[0] & 1) {
        line = QString::fromUtf8(rest, restSize);
    } else {
        line.resize(restSize / 2);
        for (qsizetype i = 0; i < line.size(); ++i) {
            line[i] = QChar(static_cast<char16_t>(static_cast<unsigned char>(rest[2 * i]) |
                                                  (static_cast<unsigned char>(rest[2 * i + 1]) << 8)));
        }
    }
    const bool everythingExists = (data[0] & 2) != 0;
    int asked = 0;
    const importer::ReferenceExists exists = [&](const QString& reference) {
        ++asked;
        require(isCanonical(reference));
        return everythingExists;
    };

    const ParsedLine parsed = importer::ParseImportLine(line, exists);
    const bool reachedLookup =
        parsed.outcome == LineOutcome::Accepted || parsed.outcome == LineOutcome::UnknownReference;
    require(asked == (reachedLookup ? 1 : 0));
    require(reachedLookup == !parsed.reference.isEmpty());
    require(parsed.outcome != LineOutcome::Accepted || everythingExists);
    require(!parsed.text.startsWith(u' ') && !parsed.text.endsWith(u' '));

    const QString entry = importer::ErrorEntries::lineEntry(1, parsed);
    require(entry.isEmpty() == (parsed.outcome == LineOutcome::Blank || parsed.outcome == LineOutcome::Accepted));

    if (reachedLookup) {
        // The canonical form with the text parses back to the same reference and text.
        const QString again = parsed.reference + u' ' + parsed.text;
        const ParsedLine reparsed = importer::ParseImportLine(again, [](const QString&) { return true; });
        require(reparsed.outcome == LineOutcome::Accepted);
        require(reparsed.reference == parsed.reference);
        require(reparsed.text == parsed.text);
    }
    return 0;
}
