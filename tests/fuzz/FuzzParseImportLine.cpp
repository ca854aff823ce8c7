// Any text through parseImportLine: nothing crashes, and what it accepts is canonical and parses back to itself.
#include "FuzzRequire.h"
#include "books/BookAbbreviations.h"
#include "import/ErrorEntries.h"
#include "import/ParseImportLine.h"

#include <QRegularExpression>
#include <cstddef>
#include <cstdint>
#include <cstring>

using namespace importer;

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
        line.resize(restSize / 2);
        std::memcpy(line.data(), rest, static_cast<std::size_t>(line.size()) * sizeof(QChar));
    }
    const bool everythingExists = (data[0] & 2) != 0;
    // What is looked up is canonical: book, space, chapter:verse without leading zeros, the verse at most 3 digits.
    static const QRegularExpression canonical(QStringLiteral("^(\\S+) (0|[1-9][0-9]*):(0|[1-9][0-9]{0,2})$"));
    int asked = 0;
    const ParsedLine parsed = parseImportLine(line, [&](const QString& reference) {
        const QRegularExpressionMatch match = canonical.match(reference);
        require(++asked == 1 && match.hasMatch() && books::BookAbbreviations::find(match.capturedView(1)) != 0);
        return everythingExists;
    });
    const bool reachedLookup =
        parsed.outcome == LineOutcome::Accepted || parsed.outcome == LineOutcome::UnknownReference;
    require(asked == (reachedLookup ? 1 : 0) && reachedLookup == !parsed.reference.isEmpty() &&
            (parsed.outcome != LineOutcome::Accepted || everythingExists) && !parsed.text.startsWith(u' ') &&
            !parsed.text.endsWith(u' '));
    require(ErrorEntries::lineEntry(1, parsed).isEmpty() ==
            (parsed.outcome == LineOutcome::Blank || parsed.outcome == LineOutcome::Accepted));
    if (reachedLookup) {
        const ParsedLine again =
            parseImportLine(parsed.reference + u' ' + parsed.text, [](const QString&) { return true; });
        require(again.outcome == LineOutcome::Accepted && again.reference == parsed.reference &&
                again.text == parsed.text);
    }
    return 0;
}
