#include "books/BookAbbreviations.h"
#include "books/KoreanBookNames.h"
#include "books/SwordBookNames.h"
#include "exchange/ExportBytes.h"
#include "exchange/KjvEntries.h"
#include "exchange/VersionExport.h"

namespace exchange {

namespace {

const QString kNullWord = QStringLiteral("null");

// The plan refused for the first verse whose text XML cannot hold. The file is written first
// and searched verse by verse only when some text could not be held, so that the verse named
// is the first in the version's order whatever the order of the file.
ExportPlan refusedForXml(const QList<Verse>& verses)
{
    ExportPlan plan;
    plan.result = ExportResult::NotXmlText;
    for (const Verse& verse : verses) {
        if (verse.text && !ExportBytes::xmlCanHold(*verse.text)) {
            plan.refused = verse;
            break;
        }
    }
    return plan;
}

// The markup of a file is about 100 bytes a verse beside its text, and a UTF-16 unit takes up to 3 bytes.
qsizetype expectedLength(const QList<Verse>& verses)
{
    qsizetype length = 4096;
    for (const Verse& verse : verses) {
        length += verse.text ? 100 + 3 * verse.text->size() : 0;
    }
    return length;
}

// The version's name as XML can hold it: a character it cannot hold (a control character in the
// file's name) becomes an underscore.
QString xmlName(QString name)
{
    for (QChar& c : name) {
        if (!ExportBytes::xmlCanHold(QStringView(&c, 1))) {
            c = u'_';
        }
    }
    return name;
}

// An OSIS work's name: the letters, digits and underscores of the version's name, any other
// character an underscore.
QString osisWorkName(const QString& name)
{
    QString work = name;
    for (QChar& c : work) {
        if (!c.isLetterOrNumber() && c != u'_') {
            c = u'_';
        }
    }
    return work.isEmpty() ? QStringLiteral("Bible") : work;
}

} // namespace

ExportPlan planOsisFile(const QList<Verse>& verses, const QString& fileName, const QString& versionName)
{
    const QString workName = xmlName(versionName);
    ExportPlan plan;
    KjvEntries kjv = kjvEntries(verses);
    const QString work = osisWorkName(workName);
    ExportBytes out(expectedLength(verses));
    out.add("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<osis xmlns=\"http://www.bibletechnologies.net/2003/OSIS/namespace\" "
            "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
            "xsi:schemaLocation=\"http://www.bibletechnologies.net/2003/OSIS/namespace "
            "http://www.bibletechnologies.net/osisCore.2.1.1.xsd\">\n<osisText osisIDWork=\"")
        .add(work)
        .add("\" osisRefWork=\"Bible\" xml:lang=\"ko\">\n<header>\n<work osisWork=\"")
        .add(work)
        .add("\">\n<title>")
        .addXml(workName)
        .add("</title>\n<type type=\"OSIS\">Bible</type>\n<language type=\"IETF\">ko</language>\n"
             "<refSystem>Bible.KJV</refSystem>\n</work>\n</header>\n");
    // A book's div opens at its first verse written, titled with its Korean name (the book's
    // introduction for SWORD, not a verse's text); a chapter is a container of its verses.
    int book = 0;
    int chapter = 0;
    for (const KjvEntry& entry : kjv.entries) {
        if (!entry.text) {
            continue;
        }
        const Verse& verse = *entry.verse;
        const QStringView osisId = books::SwordBookNames::osisId(verse.bookNumber);
        if (verse.bookNumber != book || verse.chapter != chapter) {
            out.add(chapter != 0 ? "</chapter>\n" : "");
            if (verse.bookNumber != book) {
                out.add(book != 0 ? "</div>\n" : "")
                    .add("<div type=\"book\" osisID=\"")
                    .add(osisId)
                    .add("\">\n<title>");
                out.addXml(books::KoreanBookNames::at(verse.bookNumber)).add("</title>\n");
            }
            out.add("<chapter osisID=\"").add(osisId).add(".").add(verse.chapter).add("\">\n");
            book = verse.bookNumber;
            chapter = verse.chapter;
        }
        out.add("<verse osisID=\"").add(osisId).add(".").add(verse.chapter).add(".").add(verse.verse).add("\">");
        out.addXml(*entry.text).add("</verse>\n");
    }
    out.add(chapter != 0 ? "</chapter>\n</div>\n" : "").add("</osisText>\n</osis>\n");
    if (out.notXml()) {
        return refusedForXml(verses);
    }
    plan.versesWritten = kjv.versesWritten;
    plan.moved = std::move(kjv.moved);
    plan.files.append({fileName, out.take()});
    return plan;
}

ExportPlan planZefaniaFile(const QList<Verse>& verses, const QString& fileName, const QString& versionName)
{
    const QString bibleName = xmlName(versionName);
    ExportPlan plan;
    ExportBytes out(expectedLength(verses));
    out.add("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<XMLBIBLE xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
            "xsi:noNamespaceSchemaLocation=\"zef2005.xsd\" biblename=\"")
        .addXml(bibleName, true)
        .add("\" type=\"x-bible\">\n<INFORMATION>\n<title>")
        .addXml(bibleName)
        // The language of the book names, as the OSIS header gives it: presentation programs (OpenLP) look
        // the books' names up in it, and know "ko" where they do not know "KOR".
        .add("</title>\n<format>Zefania XML Bible Markup Language</format>\n<language>ko</language>\n"
             "</INFORMATION>\n");
    int book = 0;
    int chapter = 0;
    for (const Verse& verse : verses) {
        if (!verse.text) {
            continue;
        }
        if (verse.bookNumber != book || verse.chapter != chapter) {
            out.add(chapter != 0 ? "</CHAPTER>\n" : "");
            if (verse.bookNumber != book) {
                out.add(book != 0 ? "</BIBLEBOOK>\n" : "").add("<BIBLEBOOK bnumber=\"").add(verse.bookNumber);
                out.add("\" bname=\"").addXml(books::KoreanBookNames::at(verse.bookNumber), true);
                out.add("\" bsname=\"").addXml(books::BookAbbreviations::at(verse.bookNumber), true).add("\">\n");
            }
            out.add("<CHAPTER cnumber=\"").add(verse.chapter).add("\">\n");
            book = verse.bookNumber;
            chapter = verse.chapter;
        }
        out.add("<VERS vnumber=\"").add(verse.verse).add("\">");
        out.addXml(*verse.text == kNullWord ? QStringView() : QStringView(*verse.text)).add("</VERS>\n");
        ++plan.versesWritten;
    }
    out.add(chapter != 0 ? "</CHAPTER>\n</BIBLEBOOK>\n" : "").add("</XMLBIBLE>\n");
    if (out.notXml()) {
        return refusedForXml(verses);
    }
    plan.files.append({fileName, out.take()});
    return plan;
}

} // namespace exchange
