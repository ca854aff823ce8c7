#pragma once

#include <QString>
#include <QStringView>

namespace books {

// A reference as a person types it, read against the Korean numbering.
struct TypedReference
{
    enum class Mistake
    {
        None,
        NotAReference, // no chapter number after a book name
        NoSuchBook,    // the name is no book's
        NoSuchChapter, // the book has no such chapter: limit is its number of chapters
        NoSuchVerse,   // the chapter has no such verse: limit is its number of verses
    };

    Mistake mistake = Mistake::NotAReference;
    QString reference; // the canonical reference ("창 1:1") when there is no mistake
    QString bookName;  // the book as typed (trimmed)
    int book = 0;      // 1 to 66 once the book is known
    int chapter = 0;
    int verse = 0;
    int limit = 0;
};

// Reads what a person types as a reference into the canonical one: with or without the space ("창1:1"), the
// abbreviation or the full Korean name ("창세기 1:1"), the OSIS id, SWORD's or the common English name and the USFM
// code in any case ("Gen 1:1", "Genesis 1:1", "1 Samuel 3:4", "Gen.1.1"), a full-width colon, and a chapter alone
// for its first verse ("창 1").
namespace ReferenceParser {
[[nodiscard]] TypedReference parse(QStringView typed);

// The chapters of book 1 to 66, and the verses of one of its chapters, in the Korean numbering; 0 for none.
[[nodiscard]] int chapterCount(int book);
[[nodiscard]] int verseCount(int book, int chapter);
} // namespace ReferenceParser

} // namespace books
