#include "import/ParseImpKey.h"

#include "books/BookAbbreviations.h"
#include "books/SwordBookNames.h"
#include "books/TrimSpaces.h"
#include "books/Versification.h"

#include <algorithm>

namespace importer {

namespace {

using books::isDigit;

bool isZero(QStringView digits)
{
    return !digits.isEmpty() && std::all_of(digits.begin(), digits.end(), [](QChar c) { return c == u'0'; });
}

// A verse has at most three digits: four or more are VerseTooLong, whatever follows them.
constexpr qsizetype kLongestVerse = 3;

} // namespace

ParsedImpKey parseImpKey(QStringView key, const ReferenceExists& exists)
{
    ParsedImpKey result;
    const QStringView trimmed = books::trimSpaces(key);
    if (trimmed.startsWith(u'[') && trimmed.endsWith(u']')) {
        result.heading = true;
        return result;
    }
    const qsizetype colon = trimmed.indexOf(u':');
    if (colon < 0) {
        // An empty key as well: its text names no verse.
        result.parsed.outcome = LineOutcome::MissingColon;
        return result;
    }

    const QStringView verse = trimmed.sliced(colon + 1);
    const qsizetype verseDigits = std::find_if_not(verse.begin(), verse.end(), isDigit) - verse.begin();
    const QStringView bookAndChapter = trimmed.first(colon);
    qsizetype chapterBegin = bookAndChapter.size();
    while (chapterBegin > 0 && isDigit(bookAndChapter[chapterBegin - 1])) {
        --chapterBegin;
    }
    if (verseDigits == verse.size() && (isZero(verse) || isZero(bookAndChapter.sliced(chapterBegin)))) {
        result.heading = true;
        return result;
    }
    if (verseDigits > 0 && verseDigits <= kLongestVerse && verseDigits < verse.size()) {
        result.parsed.outcome = LineOutcome::VerseNotNumeric;
        return result;
    }

    // SWORD's names of the book become this program's abbreviation; an unknown book stays as written.
    const QStringView book = books::trimSpaces(bookAndChapter.first(chapterBegin));
    const int bookNumber = books::SwordBookNames::find(book);
    if (bookNumber == 0) {
        result.parsed = parseImportLine(trimmed, exists);
        return result;
    }
    const qsizetype bookBegin = book.data() - trimmed.data();
    QString line;
    line.append(trimmed.first(bookBegin))
        .append(books::BookAbbreviations::at(bookNumber))
        .append(trimmed.sliced(bookBegin + book.size()));
    result.parsed = parseImportLine(line, exists);
    return result;
}

} // namespace importer
