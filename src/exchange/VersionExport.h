#pragma once

#include "platform/FileFailure.h"
#include "platform/RunControl.h"
#include "platform/SystemCodePage.h"
#include "versiondb/Error.h"
#include "versiondb/VersionVerses.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace exchange {

using versiondb::Verse;

enum class ExportFormat
{
    Text,    // one text file per book, "약자 장:절 본문" lines, CR LF
    Imp,     // one IMP file for SWORD's imp2vs, OSIS keys in KJV versification, UTF-8
    Osis,    // one OSIS XML file for SWORD's osis2mod, in KJV versification, UTF-8
    Zefania, // one Zefania XML file in the version's own numbering, UTF-8
    Vpl,     // one verse-per-line file for SWORD's vpl2mod, OSIS keys in KJV versification, UTF-8
};

enum class TextEncoding
{
    Cp949, // code page 949 with CR LF line ends, as the import reads text files without a byte-order mark
    Utf8,  // UTF-8 with a byte-order mark, lines ending with LF
};

// The encoding of text files where none is chosen: the platform's own, code page 949 only where the system's code page
// is 949.
[[nodiscard]] inline TextEncoding defaultTextEncoding()
{
    return platform::systemCodePageIs949() ? TextEncoding::Cp949 : TextEncoding::Utf8;
}

struct ExportRequest
{
    QString versionPath;
    // The folder of the text files, or the one file of any other format to write.
    QString destination;
    ExportFormat format = ExportFormat::Text;
    TextEncoding encoding = defaultTextEncoding(); // text files only: the other formats are always UTF-8
    // Files of the names the export writes are replaced; otherwise they refuse the export (WouldReplace).
    bool replace = false;
    // Watches the run, when given: the verses read out of all, and a cancel between verses or files.
    platform::RunControl* control = nullptr;
};

// A verse that KJV versification lacks, and the verse whose entry took its text.
struct MovedVerse
{
    QString reference;
    QString into;

    friend bool operator==(const MovedVerse&, const MovedVerse&) = default;
};

enum class ExportResult
{
    Written,
    EngineFailed,        // the version could not be opened or read: failure
    UnreadableReference, // a record's 성경구절 is no canonical reference: verse
    LineBreak,           // the text of verse holds a line break, so it cannot be one line
    Unencodable,         // the text of verse cannot be written in code page 949
    NotXmlText,          // the text of verse holds a control character that an XML file cannot hold
    WriteFailed,         // a file could not be written: fileFailure
    WouldReplace,        // files of the names to write exist and the request does not replace them: existing
    WouldReplaceVersion, // a file of a name to write is a version or another database, never replaced: existing
    Cancelled,           // the run was cancelled: no file was written or changed
};

// One file to write: its name in the destination folder and its bytes.
struct ExportFile
{
    QString name;
    QByteArray bytes;
};

// What an export would write, worked out before anything is written.
struct ExportPlan
{
    ExportResult result = ExportResult::Written; // Written, LineBreak or Unencodable
    Verse refused;                               // LineBreak, Unencodable, NotXmlText: the first such verse
    QList<ExportFile> files;
    int versesWritten = 0;   // verses whose text is in the files: every verse that is not Null
    QList<MovedVerse> moved; // IMP, OSIS, VPL: verses appended to an earlier verse, in their order
};

struct ExportOutcome
{
    ExportResult result = ExportResult::EngineFailed;
    int versesWritten = 0;
    QString destination; // the folder or the file, full and in native separators
    Verse verse;         // UnreadableReference, LineBreak, Unencodable, NotXmlText
    versiondb::ErrorItem failure;
    platform::FileFailure fileFailure;
    QList<MovedVerse> moved;
    QStringList existing; // WouldReplace: the files, full and in native separators
};

// The name of a book's text file: "01-창.txt" ... "66-계.txt".
[[nodiscard]] QString textFileName(int bookNumber);

// The files the export writes (full and in native separators: the 66 text files in the folder, or the one file) that
// exist (as anything: a file, a folder or a link), which the export would replace.
[[nodiscard]] QStringList existingExportPaths(const ExportRequest& request);

// The plan refused for the first verse whose text holds a line break, which no line can hold; nothing when none does.
[[nodiscard]] std::optional<ExportPlan> lineBreakRefusal(const QList<Verse>& verses);

// The text files of the verses: "01-창.txt" ... "66-계.txt", one for every book
// whether it has verses or not, each line the verse's reference, one space and its
// text, in the verses' order, ending in CR LF. Null texts are left out; "null" is
// written as it stands. A text that holds a line break, or (in code page 949) a
// character the code page lacks, refuses the whole plan, naming the first such verse.
[[nodiscard]] ExportPlan planTextFiles(const QList<Verse>& verses, TextEncoding encoding);

// The IMP file of the verses, named fileName: for each verse a key line "$$$" + OSIS id
// + " chapter:verse", then its text line, LF line ends, UTF-8 without a byte-order mark.
// A text of "null" is an empty entry; Null texts are left out. A verse that KJV
// versification lacks is appended, after one space, to the text of the last verse
// before it that KJV has. A text that holds a line break refuses the whole plan.
[[nodiscard]] ExportPlan planImpFile(const QList<Verse>& verses, const QString& fileName);

// The VPL file of the verses for SWORD's vpl2mod (its verse references given), named fileName:
// a line for each verse, its OSIS id + " chapter:verse", one space and its text, LF line ends,
// UTF-8 without a byte-order mark; the verses, "null" (a key alone) and Null texts as in
// planImpFile, and a text that holds a line break refuses the whole plan.
[[nodiscard]] ExportPlan planVplFile(const QList<Verse>& verses, const QString& fileName);

// The OSIS XML file of the verses for SWORD's osis2mod, named fileName, UTF-8: the header's work
// titled versionName and named after it (its letters, digits and underscores; osisIDWork), then a
// div for every book that has a verse written, titled with the book's Korean name, its chapters
// as containers of its verses. The verses as in planImpFile (KJV versification, the verses it
// lacks appended to the verse before), "null" an empty verse, Null texts left out.
// In the texts &, < and > become entity references and line breaks character references; a text
// holding a control character that XML cannot hold refuses the whole plan (NotXmlText); in the
// version's name such a character becomes an underscore.
[[nodiscard]] ExportPlan planOsisFile(const QList<Verse>& verses, const QString& fileName, const QString& versionName);

// The Zefania XML file of the verses, named fileName, UTF-8: XMLBIBLE named versionName, a
// BIBLEBOOK for every book that has a verse written (bnumber 1 to 66, bname its Korean name,
// bsname its abbreviation), CHAPTER cnumber and VERS vnumber in the version's own numbering.
// "null" an empty VERS, Null texts left out; the texts escaped and refused as in planOsisFile.
[[nodiscard]] ExportPlan planZefaniaFile(const QList<Verse>& verses, const QString& fileName,
                                         const QString& versionName);

// Reads the version, plans the files and, when nothing refuses them, writes them: every file is
// written completely under a temporary name beside its own, and only once all of them are written
// are they put in place, so that a failure or a cancel leaves no file cut short and changes no
// file that was there (the temporary files are removed again). Files of the names to write that
// exist refuse the export before the version is read unless the request replaces them.
[[nodiscard]] ExportOutcome exportVersion(const ExportRequest& request);

} // namespace exchange
