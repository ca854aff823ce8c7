#include "import/ParseImportLine.h"

#include "books/BookAbbreviations.h"
#include "books/TrimSpaces.h"
#include "books/Versification.h"

namespace importer {

namespace {

using books::isDigit;

// A run of digits written in decimal without leading zeros ("0" when it is empty or all zeros).
// Working on the text keeps numbers of any length exact.
QStringView withoutLeadingZeros(QStringView digits)
{
    while (digits.size() > 1 && digits.startsWith(u'0')) {
        digits = digits.sliced(1);
    }
    return digits.isEmpty() ? u"0" : digits;
}

} // namespace

ParsedLine parseImportLine(QStringView line, const ReferenceExists& exists)
{
    ParsedLine parsed;

    const QStringView trimmed = books::trimSpaces(line);
    if (trimmed.isEmpty()) {
        parsed.outcome = LineOutcome::Blank;
        return parsed;
    }

    const qsizetype colon = trimmed.indexOf(u':');
    if (colon < 0) {
        parsed.outcome = LineOutcome::MissingColon;
        return parsed;
    }

    const qsizetype verseBegin = colon + 1;
    if (verseBegin >= trimmed.size() || !isDigit(trimmed[verseBegin])) {
        parsed.outcome = LineOutcome::VerseNotNumeric;
        return parsed;
    }

    qsizetype verseEnd = verseBegin;
    while (verseEnd < trimmed.size() && isDigit(trimmed[verseEnd])) {
        ++verseEnd;
    }
    if (verseEnd - verseBegin >= 4) {
        parsed.outcome = LineOutcome::VerseTooLong;
        return parsed;
    }

    // A range of verses ("창 1:3-5") is no verse: its end would be read as the text.
    if (verseEnd + 1 < trimmed.size() && QStringView(u"-~\u2013,").contains(trimmed[verseEnd]) &&
        isDigit(trimmed[verseEnd + 1])) {
        parsed.outcome = LineOutcome::VerseNotNumeric;
        return parsed;
    }
    // Else the character after the verse digits is the separator and is dropped, whatever it is.
    // When the digits end the line there is no separator and the text is empty.
    if (verseEnd + 1 < trimmed.size()) {
        parsed.text = books::trimSpaces(trimmed.sliced(verseEnd + 1)).toString();
    }

    const QStringView verse = withoutLeadingZeros(trimmed.sliced(verseBegin, verseEnd - verseBegin));

    const QStringView bookAndChapter = trimmed.first(colon);
    qsizetype lastNonDigit = bookAndChapter.size() - 1;
    while (lastNonDigit >= 0 && isDigit(bookAndChapter[lastNonDigit])) {
        --lastNonDigit;
    }
    // lastNonDigit is the 0-based position of the last character that is not a digit, -1 if none.
    if (lastNonDigit == 0) {
        parsed.outcome = LineOutcome::ChapterNotFound;
        return parsed;
    }

    const QStringView chapter = withoutLeadingZeros(bookAndChapter.sliced(lastNonDigit + 1));

    QStringView book = books::trimSpaces(bookAndChapter.first(lastNonDigit + 1));
    for (qsizetype i = book.size() - 1; i >= 0; --i) {
        if (isDigit(book[i])) {
            book = book.sliced(i + 1);
            break;
        }
    }
    parsed.bookText = book.toString();
    if (books::BookAbbreviations::find(book) == 0) {
        parsed.outcome = LineOutcome::UnknownBook;
        return parsed;
    }

    parsed.reference.reserve(book.size() + chapter.size() + verse.size() + 2);
    parsed.reference.append(book).append(u' ').append(chapter).append(u':').append(verse);

    parsed.outcome = exists(parsed.reference) ? LineOutcome::Accepted : LineOutcome::UnknownReference;
    return parsed;
}

} // namespace importer
