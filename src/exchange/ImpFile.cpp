#include "books/SwordBookNames.h"
#include "exchange/KjvEntries.h"
#include "exchange/VersionExport.h"

#include <QStringEncoder>
#include <algorithm>
#include <charconv>

namespace exchange {

namespace {

// The two files of one verse a line or two that SWORD's tools read: IMP for imp2vs, VPL for vpl2mod.
enum class LineFormat
{
    Imp, // "$$$Gen 1:1", LF, the text, LF
    Vpl, // "Gen 1:1", one space, the text, LF; a key alone for an empty text
};

// Writes the OSIS id + " chapter:verse" at out (all ASCII); returns the end.
char* writeKey(char* out, const Verse& verse)
{
    for (const QChar c : books::SwordBookNames::osisId(verse.bookNumber)) {
        *out++ = static_cast<char>(c.unicode());
    }
    *out++ = ' ';
    out = std::to_chars(out, out + 16, verse.chapter).ptr;
    *out++ = ':';
    return std::to_chars(out, out + 16, verse.verse).ptr;
}

bool holdsLineBreak(const std::optional<QString>& text)
{
    return text && (text->contains(u'\n') || text->contains(u'\r'));
}

ExportPlan planLines(const QList<Verse>& verses, const QString& fileName, LineFormat format)
{
    ExportPlan plan;
    for (const Verse& verse : verses) {
        if (holdsLineBreak(verse.text)) {
            plan.result = ExportResult::LineBreak;
            plan.refused = verse;
            return plan;
        }
    }
    KjvEntries kjv = kjvEntries(verses);

    // Written straight into the file's bytes: a key takes at most 32 bytes, a UTF-16 unit at most 3.
    qsizetype length = 0;
    for (const KjvEntry& entry : kjv.entries) {
        length += entry.text ? 32 + 3 * entry.text->size() + 2 : 0;
    }
    QByteArray bytes;
    bytes.resize(length);
    char* out = bytes.data();
    QStringEncoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
    for (const KjvEntry& entry : kjv.entries) {
        if (!entry.text) {
            continue;
        }
        if (format == LineFormat::Imp) {
            out = std::copy_n("$$$", 3, out);
        }
        out = writeKey(out, *entry.verse);
        if (format == LineFormat::Imp) {
            *out++ = '\n';
        } else if (!entry.text->isEmpty()) {
            *out++ = ' ';
        }
        out = utf8.appendToBuffer(out, *entry.text);
        *out++ = '\n';
    }
    bytes.truncate(out - bytes.constData());
    plan.versesWritten = kjv.versesWritten;
    plan.moved = std::move(kjv.moved);
    plan.files.append({fileName, std::move(bytes)});
    return plan;
}

} // namespace

ExportPlan planImpFile(const QList<Verse>& verses, const QString& fileName)
{
    return planLines(verses, fileName, LineFormat::Imp);
}

ExportPlan planVplFile(const QList<Verse>& verses, const QString& fileName)
{
    return planLines(verses, fileName, LineFormat::Vpl);
}

} // namespace exchange
