#include "exchange/NullReport.h"

namespace exchange {

QString VerseRange::text() const
{
    QString text = books::canonicalReference(book, chapter, firstVerse);
    if (lastVerse != firstVerse) {
        text += u'-' + QString::number(lastVerse);
    }
    return text;
}

VersionReport reportOf(const QList<Verse>& verses)
{
    VersionReport report;
    report.records = static_cast<int>(verses.size());
    for (const Verse& verse : verses) {
        if (verse.text) {
            if (*verse.text == u"null") {
                ++report.nullWord;
            } else {
                ++report.withText;
            }
            continue;
        }
        ++report.nullValue;
        if (!report.nullRanges.isEmpty()) {
            VerseRange& last = report.nullRanges.last();
            const bool continues = &verse != verses.constData() && !(&verse - 1)->text;
            if (continues && last.book == verse.book && last.chapter == verse.chapter &&
                last.lastVerse + 1 == verse.verse) {
                last.lastVerse = verse.verse;
                continue;
            }
        }
        report.nullRanges.append({verse.book, verse.chapter, verse.verse, verse.verse});
    }
    return report;
}

} // namespace exchange
