#include "books/SwordBookNames.h"

#include "books/BookAbbreviations.h"

namespace books {

namespace {

constexpr std::array<QStringView, BookAbbreviations::kCount> kOsisIds = {
    u"Gen",   u"Exod", u"Lev",  u"Num",  u"Deut", u"Josh", u"Judg",  u"Ruth",   u"1Sam",   u"2Sam",  u"1Kgs",
    u"2Kgs",  u"1Chr", u"2Chr", u"Ezra", u"Neh",  u"Esth", u"Job",   u"Ps",     u"Prov",   u"Eccl",  u"Song",
    u"Isa",   u"Jer",  u"Lam",  u"Ezek", u"Dan",  u"Hos",  u"Joel",  u"Amos",   u"Obad",   u"Jonah", u"Mic",
    u"Nah",   u"Hab",  u"Zeph", u"Hag",  u"Zech", u"Mal",  u"Matt",  u"Mark",   u"Luke",   u"John",  u"Acts",
    u"Rom",   u"1Cor", u"2Cor", u"Gal",  u"Eph",  u"Phil", u"Col",   u"1Thess", u"2Thess", u"1Tim",  u"2Tim",
    u"Titus", u"Phlm", u"Heb",  u"Jas",  u"1Pet", u"2Pet", u"1John", u"2John",  u"3John",  u"Jude",  u"Rev",
};

// clang-format off
constexpr std::array<QStringView, BookAbbreviations::kCount> kEnglishNames = {
    u"Genesis", u"Exodus", u"Leviticus", u"Numbers", u"Deuteronomy", u"Joshua", u"Judges", u"Ruth", u"I Samuel",
    u"II Samuel", u"I Kings", u"II Kings", u"I Chronicles", u"II Chronicles", u"Ezra", u"Nehemiah", u"Esther", u"Job",
    u"Psalms", u"Proverbs", u"Ecclesiastes", u"Song of Solomon", u"Isaiah", u"Jeremiah", u"Lamentations", u"Ezekiel",
    u"Daniel", u"Hosea", u"Joel", u"Amos", u"Obadiah", u"Jonah", u"Micah", u"Nahum", u"Habakkuk", u"Zephaniah",
    u"Haggai", u"Zechariah", u"Malachi", u"Matthew", u"Mark", u"Luke", u"John", u"Acts", u"Romans", u"I Corinthians",
    u"II Corinthians", u"Galatians", u"Ephesians", u"Philippians", u"Colossians", u"I Thessalonians",
    u"II Thessalonians", u"I Timothy", u"II Timothy", u"Titus", u"Philemon", u"Hebrews", u"James", u"I Peter",
    u"II Peter", u"I John", u"II John", u"III John", u"Jude", u"Revelation of John",
};
// clang-format on

} // namespace

QStringView SwordBookNames::osisId(int bookNumber)
{
    return bookEntry(kOsisIds, bookNumber);
}

QStringView SwordBookNames::englishName(int bookNumber)
{
    return bookEntry(kEnglishNames, bookNumber);
}

int SwordBookNames::find(QStringView name)
{
    // No OSIS id is an English name of another book, so the first match is the only one.
    for (std::size_t i = 0; i < kOsisIds.size(); ++i) {
        if (kEnglishNames[i] == name || kOsisIds[i] == name) {
            return static_cast<int>(i) + 1;
        }
    }
    return BookAbbreviations::find(name);
}

} // namespace books
