#include "exchange/KjvEntries.h"

#include "books/KjvVersification.h"

namespace exchange {

namespace {

const QString kNullWord = QStringLiteral("null");

// The text of an entry: the build stores an empty text as "null", and the files of SWORD's
// tools say the same with an empty entry.
QString entryText(const QString& text)
{
    return text == kNullWord ? QString() : text;
}

void append(std::optional<QString>& text, const QString& piece)
{
    if (!text || text->isEmpty()) {
        text = piece;
    } else if (!piece.isEmpty()) {
        *text += u' ' + piece;
    }
}

} // namespace

KjvEntries kjvEntries(const QList<Verse>& verses)
{
    KjvEntries result;
    result.entries.reserve(static_cast<std::size_t>(verses.size()));
    // Texts of verses that KJV lacks and that came before any verse it has.
    std::optional<QString> waiting;
    QStringList waitingReferences;
    for (const Verse& verse : verses) {
        result.versesWritten += verse.text ? 1 : 0;
        if (books::KjvVersification::hasVerse(verse.bookNumber, verse.chapter, verse.verse)) {
            KjvEntry entry{&verse, verse.text ? std::optional<QString>(entryText(*verse.text)) : std::nullopt};
            if (waiting) {
                std::optional<QString> joined = waiting;
                if (entry.text) {
                    append(joined, *entry.text);
                }
                entry.text = joined;
                for (const QString& reference : waitingReferences) {
                    result.moved.append({reference, verse.reference});
                }
                waiting.reset();
                waitingReferences.clear();
            }
            result.entries.push_back(std::move(entry));
            continue;
        }
        if (!verse.text) {
            continue;
        }
        if (result.entries.empty()) {
            append(waiting, entryText(*verse.text));
            waitingReferences.append(verse.reference);
            continue;
        }
        append(result.entries.back().text, entryText(*verse.text));
        result.moved.append({verse.reference, result.entries.back().verse->reference});
    }
    // Texts still waiting had no verse that KJV has anywhere in the version to go to.
    result.versesWritten -= static_cast<int>(waitingReferences.size());
    return result;
}

} // namespace exchange
