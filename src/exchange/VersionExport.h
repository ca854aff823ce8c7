#pragma once

#include "exchange/VersionVerses.h"
#include "platform/FileFailure.h"
#include "versiondb/Error.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace exchange {

enum class ExportFormat
{
    Text, // one text file per book, "약자 장:절 본문" lines, CR LF
    Imp,  // one IMP file for SWORD's imp2vs, OSIS keys in KJV versification, UTF-8
};

enum class TextEncoding
{
    Cp949, // code page 949, as the import reads text files without a byte-order mark
    Utf8,  // UTF-8 with a byte-order mark
};

struct ExportRequest
{
    QString versionPath;
    // The folder of the text files, or the IMP file to write.
    QString destination;
    ExportFormat format = ExportFormat::Text;
    TextEncoding encoding = TextEncoding::Cp949; // text files only: an IMP file is always UTF-8
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
    EngineFailed,        // the version could not be opened or read: engineFailure
    UnreadableReference, // a record's 성경구절 is no canonical reference: verse
    LineBreak,           // the text of verse holds a line break, so it cannot be one line
    Unencodable,         // the text of verse cannot be written in code page 949
    WriteFailed,         // a file could not be written: fileFailure
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
    Verse refused;                               // LineBreak, Unencodable: the first such verse
    QList<ExportFile> files;
    int versesWritten = 0;   // verses whose text is in the files: every verse that is not Null
    QList<MovedVerse> moved; // IMP: verses appended to an earlier verse, in their order
};

struct ExportOutcome
{
    ExportResult result = ExportResult::EngineFailed;
    int versesWritten = 0;
    int filesWritten = 0;
    QString destination; // the folder or the IMP file, full and in native separators
    Verse verse;         // UnreadableReference, LineBreak, Unencodable
    versiondb::ErrorItem engineFailure;
    platform::FileFailure fileFailure;
    QList<MovedVerse> moved;
};

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

// Reads the version, plans the files and, when nothing refuses them, writes them:
// each file is written completely under a temporary name and then put in place.
[[nodiscard]] ExportOutcome exportVersion(const ExportRequest& request);

} // namespace exchange
