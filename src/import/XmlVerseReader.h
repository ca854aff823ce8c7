#pragma once

#include "import/VerseSource.h"

#include <QFile>
#include <QString>
#include <QXmlStreamReader>
#include <deque>

namespace importer {

// Reads the verses of an OSIS or a Zefania XML file, streamed: the file goes to the XML reader in
// bounded pieces and one verse is held at a time. The root element chooses the dialect: "osis" (any
// namespace) or "XMLBIBLE"; any other root is a NotABible fault, and the end.
//
// OSIS: a verse is a <verse osisID="Gen.1.1"> container, or the text between the milestones
// <verse sID="Gen.1.1" .../> and <verse eID="Gen.1.1"/>, whatever paragraphs, lines or chapters lie
// between. Zefania: XMLBIBLE / BIBLEBOOK bnumber (1 to 66 in the order of the Korean Bible) / CHAPTER
// cnumber / VERS vnumber. A verse's key is "<OSIS id> <chapter>:<verse>" ("Gen 1:1").
//
// A verse's text is its character data outside notes, titles, the heading between the milestones of a
// <div subType="x-preverse"> and cross references: words marked up
// inline (<w>, <transChange>, <divineName>, <hi>, <q>, STYLE, gr ...) keep their words (a divine name's
// in capitals up to an apostrophe, as it is printed and as SWORD's plain text has it: "LORD’s"), every other
// element stands for a space, runs of XML white space are one space, and the text is trimmed.
//
// Faults: an osisID naming several verses or a range, or a vnumber of several verses (VerseRange); an
// OSIS id or a bnumber the book tables do not know (UnknownBookId, once for each run of its verses,
// which are left out); a verse of more than kLongestSourceText characters (TooLong, the verse left
// out). Malformed XML is a MalformedXml fault with the line and column the XML reader names and its
// message; the verse it was in is not read (its key goes with the fault), and reading resumes at the
// next verse, chapter or book start (OSIS verse, chapter, div; Zefania VERS, CHAPTER, BIBLEBOOK), the
// elements still open there carried over, the book and chapter with them. A file in UTF-16, which
// cannot be searched byte by byte, ends at such a fault. A single piece of XML (a text, a tag, a
// comment) too long to hold, or elements nested too deep, ends the file with TooLong or MalformedXml.
// A document whose DTD declares an entity standing for more than 16 characters for each byte of its
// reference ("&name;") is refused as malformed, so that a few bytes naming a long entity many times
// cannot fill the memory or take for ever.
// The text of a piece of OSIS markup, as a verse's text is taken from an OSIS file (a verse as a SWORD module stores
// it and mod2vpl writes it: "In the <w lemma=...>beginning</w>..."), read tag by tag: the piece need not be XML whole
// (a verse may open a quotation that a later one closes). A '<' without a '>' after it is a letter.
[[nodiscard]] QString osisMarkupText(QStringView markup);

class XmlVerseReader final : public VerseSource
{
public:
    explicit XmlVerseReader(QString path);

    [[nodiscard]] TextFileReader::ReadResult next(SourceEntry& entry) override;
    [[nodiscard]] const platform::FileFailure& failure() const override { return m_failure; }
    // How many bytes of the file have been read so far.
    [[nodiscard]] qint64 position() const { return m_file.isOpen() ? m_file.pos() : 0; }

private:
    // Reads one token and acts on it, or feeds the XML reader; false when the file cannot be read.
    [[nodiscard]] bool step();
    [[nodiscard]] bool feed();
    void startElement();
    void endElement();
    void startOsisVerse(qint64 line);
    void startZefaniaVerse(qint64 line);
    void openVerse(qint64 line, QString key, bool container, bool keep);
    void finishVerse();
    void appendText(QStringView text);
    void fault(SourceFault kind, qint64 line, QString detail = {}, qint64 column = 0);
    // A fault after which nothing more of the file is read.
    void endWith(SourceFault kind, qint64 line, QString detail = {}, qint64 column = 0);
    void learnEntities();
    // After malformed XML: the fault, then a new XML reader from the next verse, chapter or book start.
    void resume();
    // The line and column in the file of the XML reader's line and column.
    [[nodiscard]] qint64 line() const;
    [[nodiscard]] qint64 column() const;

    QString m_path;
    QFile m_file;
    QXmlStreamReader m_xml;
    platform::FileFailure m_failure;
    bool m_ended = false;
    // Every byte of the file has gone to the XML reader.
    bool m_fileRead = false;
    bool m_rootSeen = false;
    // The entries found and not yet handed on: at most a verse and a fault.
    std::deque<SourceEntry> m_ready;

    // Bytes fed to the XML reader since it last gave a token, and the most characters one byte of the
    // file may become once entities are expanded.
    qint64 m_pendingBytes = 0;
    qint64 m_expansion = 1;
    qint64 m_lastTokenLine = 1;

    // The names of the elements open, outermost first, and those of them that a resumed reader was
    // given before the file's bytes (their start tags are no news).
    std::vector<QString> m_openNames;
    qsizetype m_carriedOver = 0;
    // Where the XML reader's first line lies in the file: its line, the byte it starts at, and the
    // column of the file that the reader's column 0 of that line stands for.
    qint64 m_firstLine = 1;
    qint64 m_firstLineStart = 0;
    qint64 m_columnShift = 0;
    // Where the last resumption started in the file (-1: none yet), and its column.
    qint64 m_resumedAt = -1;
    qint64 m_resumedColumn = 0;

    // The root is OSIS's (else Zefania's, or not read yet).
    bool m_osis = false;
    int m_depth = 0;
    // The depth of the element whose content is left out (a note), 0 when none is.
    int m_skipFrom = 0;
    // The depth of the divine name whose words are written in capitals ("LORD"), 0 when none is open.
    int m_divineNameFrom = 0;
    // Zefania: the current book's OSIS id (unknown: its verses are left out) and the chapter number.
    QString m_book;
    bool m_bookUnknown = false;
    QString m_chapter;
    // OSIS: the book id of the last verse, and the one last reported unknown, so that its verses are
    // reported once.
    QString m_knownBook;
    QString m_unknownBook;

    // The verse being read: open (its text goes on), kept (it becomes an entry), a container (it ends
    // with its element) rather than the text after a milestone.
    bool m_open = false;
    bool m_keep = false;
    bool m_container = false;
    bool m_tooLong = false;
    bool m_spacePending = false;
    bool m_preverse = false;
    qint64 m_line = 0;
    QString m_key;
    QString m_text;
};

} // namespace importer
