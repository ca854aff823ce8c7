#include "books/SwordBookNames.h"
#include "exchange/ExportBytes.h"
#include "exchange/KjvEntries.h"
#include "exchange/VersionExport.h"

namespace exchange {

namespace {

// The two files of one verse a line or two that SWORD's tools read: IMP for imp2vs, VPL for vpl2mod.
enum class LineFormat
{
    Imp, // "$$$Gen 1:1", LF, the text, LF
    Vpl, // "Gen 1:1", one space, the text, LF; a key alone for an empty text
};

ExportPlan planLines(const QList<Verse>& verses, const QString& fileName, LineFormat format)
{
    if (auto refused = lineBreakRefusal(verses)) {
        return *refused;
    }
    ExportPlan plan;
    KjvEntries kjv = kjvEntries(verses);

    // Room for every line at once: a key takes at most 32 bytes, a UTF-16 unit at most 3.
    qsizetype length = 0;
    for (const KjvEntry& entry : kjv.entries) {
        length += entry.text ? 32 + 3 * entry.text->size() + 2 : 0;
    }
    ExportBytes out(length);
    const bool imp = format == LineFormat::Imp;
    for (const KjvEntry& entry : kjv.entries) {
        if (!entry.text) {
            continue;
        }
        const Verse& verse = *entry.verse;
        out.add(imp ? "$$$" : "").add(books::SwordBookNames::osisId(verse.bookNumber)).add(" ").add(verse.chapter);
        out.add(":").add(verse.verse).add(imp ? "\n" : entry.text->isEmpty() ? "" : " ").add(*entry.text).add("\n");
    }
    plan.versesWritten = kjv.versesWritten;
    plan.moved = std::move(kjv.moved);
    plan.files.append({fileName, out.take()});
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
