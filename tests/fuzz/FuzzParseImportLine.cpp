// Any text through ParseImportLine: nothing crashes, and what it accepts is canonical and parses
// back to itself.
#include "FuzzRequire.h"
#include "import/BookAbbreviations.h"
#include "import/ErrorEntries.h"
#include "import/ParseImportLine.h"

#include <QRegularExpression>
#include <cstddef>
#include <cstdint>
#include <cstring>

using importer::LineOutcome;
using importer::ParsedLine;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size == 0) {
        return 0;
    }
    // The first byte chooses how the rest is read: UTF-8 text, or raw UTF-16 code units of any value.
    const char* rest = reinterpret_cast<const char*>(data + 1);
    const auto restSize = static_cast<qsizetype>(size - 1);
    QString line = QString::fromUtf8(rest, restSize);
    if ((data[0] & 1) == 0) {
        line = QString(restSize / 2, Qt::Uninitialized);
        std::memcpy(line.data(), rest, static_cast<std::size_t>(line.size()) * sizeof(QChar));
    }
    const bool everythingExists = (data[0] & 2) != 0;
    // What is looked up is canonical: book, one space, chapter, ":", verse, without leading zeros, the
    // verse at most three digits.
    static const QRegularExpression canonical(QStringLiteral("^(\\S+) (0|[1-9][0-9]*):(0|[1-9][0-9]{0,2})$"));
    int asked = 0;
    const ParsedLine parsed = importer::ParseImportLine(line, [&](const QString& reference) {
        const QRegularExpressionMatch match = canonical.match(reference);
        require(++asked == 1 && match.hasMatch() && importer::BookAbbreviations::find(match.capturedView(1)) != 0);
        return everythingExists;
    });
    const bool reachedLookup =
        parsed.outcome == LineOutcome::Accepted || parsed.outcome == LineOutcome::UnknownReference;
    require(asked == (reachedLookup ? 1 : 0) && reachedLookup == !parsed.reference.isEmpty());
    require(parsed.outcome != LineOutcome::Accepted || everythingExists);
    require(!parsed.text.startsWith(u' ') && !parsed.text.endsWith(u' '));
    const QString entry = importer::ErrorEntries::lineEntry(1, parsed);
    require(entry.isEmpty() == (parsed.outcome == LineOutcome::Blank || parsed.outcome == LineOutcome::Accepted));
    if (reachedLookup) {
        // The canonical form with the text parses back to the same reference and text.
        const ParsedLine again =
            importer::ParseImportLine(parsed.reference + u' ' + parsed.text, [](const QString&) { return true; });
        require(again.outcome == LineOutcome::Accepted && again.reference == parsed.reference &&
                again.text == parsed.text);
    }
    return 0;
}
