#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <vector>

namespace books {

// One verse of the numbering a version is built on: a record of the reference
// version 개역.DAT without its text.
struct SkeletonVerse
{
    int number = 0; // 번호, from 1 in canonical order
    int book = 0;   // 권, 1 to 66
    int chapter = 0;
    int verse = 0;
    QString reference; // 성경구절, "창 1:1"

    friend bool operator==(const SkeletonVerse&, const SkeletonVerse&) = default;
};

// The Korean numbering of the 개역한글 Bible, built into the program from the
// table data/versification-ko.tsv that 개역.DAT is made from: 66 books, 1,189
// chapters, 31,102 verses.
[[nodiscard]] const std::vector<SkeletonVerse>& koreanVersification();

// The canonical reference: abbreviation, a space, chapter, ":", verse ("창 1:1").
[[nodiscard]] QString canonicalReference(QStringView abbreviation, int chapter, int verse);
// The same of book 1 to 66 in UTF-8, made without a QString for checks of every record; empty for another book.
[[nodiscard]] QByteArray canonicalReferenceUtf8(int book, int chapter, int verse);

// The parts of a canonical reference.
struct ReferenceParts
{
    QStringView book;   // the abbreviation from the book table
    int bookNumber = 0; // 1 to 66
    int chapter = 0;
    int verse = 0;
};

// Splits a canonical reference ("삼상 30:31") into its book, chapter and verse;
// false when it is not one (a book outside the table, a chapter or verse that is
// not a number of 1 or more written without leading zeros).
[[nodiscard]] bool splitReference(const QString& reference, ReferenceParts& parts);

// Only "0" to "9" are digits of a chapter or verse; full-width and other digits are not.
[[nodiscard]] constexpr bool isDigit(QChar c)
{
    return c.unicode() >= u'0' && c.unicode() <= u'9';
}

// The verses as ranges within a chapter, in their order: "창 1:4-31", or "창 1:4" for a lone
// verse. A range goes on while each verse is the next one of the same chapter, by number too.
[[nodiscard]] QStringList verseRanges(const std::vector<SkeletonVerse>& verses);

namespace detail {
struct VersificationChapter
{
    int book;
    const char16_t* abbreviation;
    int chapter;
    int verses;
};
extern const VersificationChapter kKoreanChapters[];
extern const int kKoreanChapterCount;
} // namespace detail

} // namespace books
