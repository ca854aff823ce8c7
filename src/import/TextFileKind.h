#pragma once

#include <QByteArrayView>

namespace importer {

enum class TextEncoding
{
    Cp949,
    Utf8,
    Utf16LE,
    Utf16BE
};

// How a file's verses are written.
enum class SourceFormat
{
    Lines, // a verse a line: "창 1:1 태초에 ..."
    Imp,   // SWORD's mod2imp: its first non-empty line is a key line, "$$$" and a key
    Usfm,  // USFM: its first non-empty line begins with a marker, "\id GEN", or one of its first 40 does with "\id"
    Vpl,   // SWORD's mod2vpl: its first non-empty line begins with a key, "Genesis 1:1" or "[ Module Heading ]"
    Xml,   // OSIS or Zefania XML: its first character that is no space is '<'
};

// What the first bytes of an import text file say about the whole file.
struct TextFileKind
{
    TextEncoding encoding = TextEncoding::Cp949;
    // The bytes of the byte-order mark that starts the file, 0 when there is none.
    qsizetype markSize = 0;
    SourceFormat format = SourceFormat::Lines;
};

// How many bytes of a file its kind is judged on.
constexpr qsizetype kTextFileSampleSize = 64 * 1024;

// The kind of a file from its first kTextFileSampleSize bytes (all of it when wholeFile is set).
// A UTF-8, UTF-16LE or UTF-16BE byte-order mark chooses the encoding. Without one, an IMP or USFM
// file is UTF-8, as SWORD and USFM's editors write them; any other file is UTF-8 when its start is
// well-formed UTF-8 and more of its lines, read as UTF-8, begin with a book abbreviation than read
// as code page 949 (an English text in code page 949 is often well-formed UTF-8 too: "창" is C3 A2,
// "â" in UTF-8); otherwise, a tie included, it is code page 949.
[[nodiscard]] TextFileKind detectTextFileKind(QByteArrayView start, bool wholeFile);

} // namespace importer
