#pragma once

#include "exchange/VersionExport.h"

#include <QList>
#include <QString>
#include <optional>
#include <vector>

namespace exchange {

// One entry of an export in SWORD's KJV versification: a verse that KJV has, and its text.
struct KjvEntry
{
    const Verse* verse = nullptr;
    // The verse's text with the texts of the verses KJV lacks appended to it; a text of "null"
    // is empty, and nothing while the verse is Null and nothing was appended to it.
    std::optional<QString> text;
};

// The verses of a version as the entries of a file in KJV versification, in the verses' order.
struct KjvEntries
{
    std::vector<KjvEntry> entries;
    QList<MovedVerse> moved; // verses appended to an earlier verse, in their order
    int versesWritten = 0;   // verses whose text is in some entry
};

// A verse that KJV versification lacks is appended, after one space, to the text of the last
// verse before it that KJV has (or, before any such verse, put before the text of the next).
// The verses refer into the list given, which must outlive the entries.
[[nodiscard]] KjvEntries kjvEntries(const QList<Verse>& verses);

} // namespace exchange
