#pragma once

#include "import/TextFileReader.h"
#include "import/VerseSource.h"

#include <QString>

namespace importer {

// Reads the verses of a USFM file: one book or several, each from its "\id" marker (USFM's three-letter code) on,
// its chapters from "\c N", its verses from "\v N" up to the next verse, chapter or book. Line ends are spaces, and
// so are the markers of paragraphs, poetry, lists and tables ("\p", "\q1", "\li", "\b", "\tr", ...). Character
// markers ("\wj", "\add", "\nd", "\+nd", "\w", ...) keep their words and lose themselves and their attributes
// ("|strong=..." up to the closing marker). Left out: notes ("\f", "\fe", "\x", "\ef", "\ex") and the other spans
// that are not verse text ("\fig", "\rq", "\va", "\vp", "\ca"), each up to its closing marker or, unclosed, to the
// next paragraph, verse, chapter or book; sidebars ("\esb" to "\esbe"); milestones ("\qt-s |...\*"); and headings,
// titles, introductions, remarks and psalm superscriptions ("\h", "\toc1", "\mt1", "\s1", "\r", "\d", "\ip",
// "\rem", "\cl", "\cp", "\qa", ...) up to the next paragraph marker. "~" is a no-break space and "//" a space.
// A verse's text is every piece it keeps, joined by single spaces and trimmed. An entry's key is the book's OSIS
// id, the chapter and the verse as written ("Gen 1:1"; "Gen :1" for a verse before any "\c"), its lineNumber the
// line of its "\v". Faults: TextBeforeBookId once, at the first text before the first "\id" (a licence or a comment:
// it is no verse); MissingBookId at the first chapter or verse of a file before any "\id" (its verses up to
// an "\id" are skipped); UnknownBookId at an "\id" whose code is none of the 66 books' (that book's verses are
// skipped); VerseRange at "\v 1-2" (nothing is kept of it); TooLong at a verse longer than kLongestSourceText,
// which is not kept, and at a line longer than that, which is not read: the verse it continues is not kept either.
// One verse is held at a time.
class UsfmVerseReader final : public VerseSource
{
public:
    // reader is open; it is read to its end, and from now on holds no line longer than kLongestSourceText.
    explicit UsfmVerseReader(TextFileReader& reader);

    [[nodiscard]] TextFileReader::ReadResult next(SourceEntry& entry) override;
    [[nodiscard]] const platform::FileFailure& failure() const override { return m_reader.failure(); }

private:
    enum class Book
    {
        None,
        Unknown,
        Known
    };
    // The number after a marker that the reader waits for.
    enum class Awaited
    {
        Nothing,
        BookId,
        Chapter,
        Verse
    };
    // What the reader is leaving out up to a marker that ends it.
    enum class Skip
    {
        Nothing,
        Note,   // up to its closing marker, or a paragraph, verse, chapter or book
        Sidebar // up to "\esbe", or a verse, chapter or book
    };

    void nextLine(TextFileReader::ReadResult read);
    void readMarker();
    // Handles the marker at m_position, its name without a "+" (closing: followed by "*"); false when an entry was
    // handed on first and the marker must be read again.
    [[nodiscard]] bool handleMarker(QStringView name, bool closing);
    void readText();
    void takeNumber(QStringView number);
    void append(QStringView text);
    [[nodiscard]] bool collecting() const;

    void endVerse();
    void reportFault(qint64 lineNumber, SourceFault kind, const QString& detail = {});

    TextFileReader& m_reader;
    QString m_line;
    qsizetype m_position = 0;
    qint64 m_lineNumber = 0;
    bool m_atEnd = false;

    Book m_book = Book::None;
    QStringView m_osisId;
    bool m_missingBookReported = false;
    bool m_textBeforeBookReported = false;
    QString m_chapter;
    Awaited m_awaited = Awaited::Nothing;
    qint64 m_markerLine = 0;

    // The verse being read, when there is one.
    bool m_verseOpen = false;
    QString m_verse;
    qint64 m_verseLine = 0;
    QString m_text;
    bool m_spacePending = false;

    bool m_headingParagraph = false;
    Skip m_skip = Skip::Nothing;
    QString m_skipCloser;
    qint64 m_characterSpans = 0;
    bool m_attributes = false;

    // The entry being handed on, and whether one is.
    SourceEntry* m_entry = nullptr;
    bool m_produced = false;
};

} // namespace importer
