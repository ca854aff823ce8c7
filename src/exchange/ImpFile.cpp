#include "books/KjvVersification.h"
#include "books/SwordBookNames.h"
#include "exchange/VersionExport.h"

#include <QStringEncoder>
#include <charconv>
#include <optional>
#include <vector>

namespace exchange {

namespace {

const QString kNullWord = QStringLiteral("null");

// One entry of the IMP file: a verse that KJV versification has.
struct Entry
{
    const Verse* verse = nullptr;
    std::optional<QString> text; // nothing while the verse is Null and nothing was appended to it
};

// Writes "$$$" + OSIS id + " chapter:verse" at out (all ASCII); returns the end.
char* writeKey(char* out, const Verse& verse)
{
    for (const char c : {'$', '$', '$'}) {
        *out++ = c;
    }
    for (const QChar c : books::SwordBookNames::osisId(verse.bookNumber)) {
        *out++ = static_cast<char>(c.unicode());
    }
    *out++ = ' ';
    out = std::to_chars(out, out + 16, verse.chapter).ptr;
    *out++ = ':';
    return std::to_chars(out, out + 16, verse.verse).ptr;
}

// The text of an entry: the build stores an empty text as "null", and an IMP file
// says the same with an empty entry.
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

ExportPlan planImpFile(const QList<Verse>& verses, const QString& fileName)
{
    ExportPlan plan;
    std::vector<Entry> entries;
    entries.reserve(static_cast<std::size_t>(verses.size()));
    // Texts of verses that KJV lacks and that came before any verse it has.
    std::optional<QString> waiting;
    QStringList waitingReferences;
    for (const Verse& verse : verses) {
        if (verse.text && (verse.text->contains(u'\n') || verse.text->contains(u'\r'))) {
            plan = ExportPlan{};
            plan.result = ExportResult::LineBreak;
            plan.refused = verse;
            return plan;
        }
        if (books::KjvVersification::hasVerse(verse.bookNumber, verse.chapter, verse.verse)) {
            Entry entry{&verse, verse.text ? std::optional<QString>(entryText(*verse.text)) : std::nullopt};
            if (waiting) {
                std::optional<QString> joined = waiting;
                if (entry.text) {
                    append(joined, *entry.text);
                }
                entry.text = joined;
                for (const QString& reference : waitingReferences) {
                    plan.moved.append({reference, verse.reference});
                }
                waiting.reset();
                waitingReferences.clear();
            }
            entries.push_back(std::move(entry));
            continue;
        }
        if (!verse.text) {
            continue;
        }
        if (entries.empty()) {
            append(waiting, entryText(*verse.text));
            waitingReferences.append(verse.reference);
            continue;
        }
        append(entries.back().text, entryText(*verse.text));
        plan.moved.append({verse.reference, entries.back().verse->reference});
    }

    // Written straight into the file's bytes: a key takes at most 32 bytes, a UTF-16 unit at most 3.
    qsizetype length = 0;
    for (const Entry& entry : entries) {
        length += entry.text ? 32 + 3 * entry.text->size() + 2 : 0;
    }
    QByteArray imp;
    imp.resize(length);
    char* out = imp.data();
    QStringEncoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    for (const Entry& entry : entries) {
        if (!entry.text) {
            continue;
        }
        out = writeKey(out, *entry.verse);
        *out++ = '\n';
        out = utf8.appendToBuffer(out, *entry.text);
        *out++ = '\n';
    }
    imp.truncate(out - imp.constData());
    for (const Verse& verse : verses) {
        plan.versesWritten += verse.text ? 1 : 0;
    }
    // Texts still waiting had no verse that KJV has anywhere in the version to go to.
    plan.versesWritten -= static_cast<int>(waitingReferences.size());
    plan.files.append({fileName, std::move(imp)});
    return plan;
}

} // namespace exchange
