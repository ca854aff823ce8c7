#pragma once

#include "platform/RunControl.h"
#include "versiondb/Error.h"

#include <QList>
#include <QString>
#include <array>
#include <bitset>

namespace review {

// What makes the text of a verse look wrong. A verse whose 본문 is Null (never given a text: see the report
// of verses without text) is not inspected.
enum class InspectionKind : quint8
{
    Empty,          // "", spaces only, or the four letters "null" (any case), spaces around them or not
    Replacement,    // U+FFFD, left where bytes could not be decoded
    Control,        // a control character (C0, DEL or C1), tab included
    Mojibake,       // text decoded with the wrong code page: see hasMojibake
    Decomposed,     // Hangul in conjoining jamo that NFC composes (as macOS writes file names and texts)
    EdgeSpaces,     // spaces at the start or the end
    DoubleSpaces,   // two spaces or more in a row inside
    Brackets,       // a bracket or quotation mark without its partner: see the notes in VersionInspection.cpp
    RepeatedWord,   // one word twice in a row, nothing but spaces between ("the the"), compared without case
    SameAsPrevious, // the same text as the verse before it in the order of 번호
    Length,         // far shorter or longer than the same verse of the other version (only with one)
};
inline constexpr int kInspectionKinds = 11;
using InspectionKinds = std::bitset<kInspectionKinds>;

[[nodiscard]] inline constexpr std::size_t bit(InspectionKind kind)
{
    return static_cast<std::size_t>(kind);
}

// One verse that looks wrong in one way, with a short stretch of its text around the fault (cut ends marked
// "…", control characters written "<U+0009>").
struct Finding
{
    InspectionKind kind = InspectionKind::Empty;
    qint64 number = 0; // 번호
    QString reference; // 성경구절
    QString excerpt;
    // For Length: the letters (characters other than spaces) of this verse and of the other version's.
    qint64 letters = 0;
    qint64 otherLetters = 0;
};

enum class InspectResult : quint8
{
    Clean,
    Found,
    EngineFailed, // a version could not be opened or read (file, failure)
    Cancelled,    // the run was cancelled before every verse was inspected
};

struct InspectRequest
{
    QString path;
    QString against;         // the other version for Length, or empty
    InspectionKinds skipped; // the kinds not looked for
    // Watches the run, when given: the verses inspected out of the records, and a cancel between verses.
    platform::RunControl* control = nullptr;
};

struct InspectOutcome
{
    InspectResult result = InspectResult::Clean;
    QList<Finding> findings; // by kind, in the order of InspectionKind, then of 번호
    std::array<int, kInspectionKinds> counts{};
    qint64 verses = 0;  // verses with a text inspected
    double ratio = 0.0; // the median ratio of letters, this version's to the other's, of verses both have
    // Why the inspection stopped.
    int file = 0; // 0 for the version, 1 for the other version
    versiondb::ErrorItem failure;
};

// Reads the version (and the other version) in one pass each, held against every writer and read as they are,
// as a comparison reads them: nothing is ever written, and a read-only file is inspected too.
//
// Length: the ratio r of a verse is its letters over the letters of the verse of the same 성경구절 in the other
// version; the verse is listed when its ratio is under r/3 or over 3r, r being the median ratio of all verses
// with a text in both (so a Korean version is judged against an English one by how Korean compares with English
// in the whole version), unless both texts are short (under 12 letters in the longer one, once r is applied).
[[nodiscard]] InspectOutcome inspectVersion(const InspectRequest& request);

// Whether text looks decoded with the wrong code page, and where (its index), or -1:
// - UTF-8 bytes read as Latin-1 or Windows-1252 ("í•œê¸€"): mapped back to bytes, two non-ASCII characters in a
//   row of well-formed UTF-8;
// - code page 949 bytes read as Latin-1 ("ÇÑ±Û"): two Hangul syllables' byte pairs in a row (a lead byte
//   B0–C8, a trail byte A1–FE);
// - UTF-8 bytes read as code page 949 ("븳湲"): encoded back into code page 949, two Hangul syllables of
//   well-formed UTF-8 in a row. In text of Hangul syllables alone this cannot happen (the lead bytes of code page
//   949's syllables are B0–C8, never a UTF-8 lead of three bytes); Hanja beside Hangul make it possible, rarely.
// A single character alone is never enough; U+FFFD is its own kind.
[[nodiscard]] qsizetype mojibakeAt(const QString& text);

} // namespace review
