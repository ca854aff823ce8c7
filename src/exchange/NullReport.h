#pragma once

#include "versiondb/VersionVerses.h"

#include <QList>
#include <QString>

namespace exchange {

using versiondb::Verse;

// Consecutive verses of one chapter: "창 1:4-31", or "창 1:4" for a lone verse.
struct VerseRange
{
    QStringView book;
    int chapter = 0;
    int firstVerse = 0;
    int lastVerse = 0;

    [[nodiscard]] QString text() const;
};

// What a version holds: its records, how many have a text, how many the four letters
// "null" (an empty text given to the build), how many are Null (never given a text),
// and the Null verses as ranges in the order of the verses.
struct VersionReport
{
    int records = 0;
    int withText = 0;
    int nullWord = 0;
    int nullValue = 0;
    QList<VerseRange> nullRanges;
};

// A range never crosses a chapter; it goes on while the next verse in the order of
// the verses is the next verse of the same chapter and is Null too.
[[nodiscard]] VersionReport reportOf(const QList<Verse>& verses);

} // namespace exchange
