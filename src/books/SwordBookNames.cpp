#include "books/SwordBookNames.h"

#include "books/BookAbbreviations.h"

#include <array>

namespace books {

namespace {

struct SwordBook
{
    QStringView osisId;
    QStringView englishName;
};

constexpr std::array<SwordBook, BookAbbreviations::kCount> kBooks = {{
    {u"Gen", u"Genesis"},
    {u"Exod", u"Exodus"},
    {u"Lev", u"Leviticus"},
    {u"Num", u"Numbers"},
    {u"Deut", u"Deuteronomy"},
    {u"Josh", u"Joshua"},
    {u"Judg", u"Judges"},
    {u"Ruth", u"Ruth"},
    {u"1Sam", u"I Samuel"},
    {u"2Sam", u"II Samuel"},
    {u"1Kgs", u"I Kings"},
    {u"2Kgs", u"II Kings"},
    {u"1Chr", u"I Chronicles"},
    {u"2Chr", u"II Chronicles"},
    {u"Ezra", u"Ezra"},
    {u"Neh", u"Nehemiah"},
    {u"Esth", u"Esther"},
    {u"Job", u"Job"},
    {u"Ps", u"Psalms"},
    {u"Prov", u"Proverbs"},
    {u"Eccl", u"Ecclesiastes"},
    {u"Song", u"Song of Solomon"},
    {u"Isa", u"Isaiah"},
    {u"Jer", u"Jeremiah"},
    {u"Lam", u"Lamentations"},
    {u"Ezek", u"Ezekiel"},
    {u"Dan", u"Daniel"},
    {u"Hos", u"Hosea"},
    {u"Joel", u"Joel"},
    {u"Amos", u"Amos"},
    {u"Obad", u"Obadiah"},
    {u"Jonah", u"Jonah"},
    {u"Mic", u"Micah"},
    {u"Nah", u"Nahum"},
    {u"Hab", u"Habakkuk"},
    {u"Zeph", u"Zephaniah"},
    {u"Hag", u"Haggai"},
    {u"Zech", u"Zechariah"},
    {u"Mal", u"Malachi"},
    {u"Matt", u"Matthew"},
    {u"Mark", u"Mark"},
    {u"Luke", u"Luke"},
    {u"John", u"John"},
    {u"Acts", u"Acts"},
    {u"Rom", u"Romans"},
    {u"1Cor", u"I Corinthians"},
    {u"2Cor", u"II Corinthians"},
    {u"Gal", u"Galatians"},
    {u"Eph", u"Ephesians"},
    {u"Phil", u"Philippians"},
    {u"Col", u"Colossians"},
    {u"1Thess", u"I Thessalonians"},
    {u"2Thess", u"II Thessalonians"},
    {u"1Tim", u"I Timothy"},
    {u"2Tim", u"II Timothy"},
    {u"Titus", u"Titus"},
    {u"Phlm", u"Philemon"},
    {u"Heb", u"Hebrews"},
    {u"Jas", u"James"},
    {u"1Pet", u"I Peter"},
    {u"2Pet", u"II Peter"},
    {u"1John", u"I John"},
    {u"2John", u"II John"},
    {u"3John", u"III John"},
    {u"Jude", u"Jude"},
    {u"Rev", u"Revelation of John"},
}};

} // namespace

QStringView SwordBookNames::osisId(int bookNumber)
{
    if (bookNumber < 1 || bookNumber > BookAbbreviations::kCount) {
        return {};
    }
    return kBooks[static_cast<std::size_t>(bookNumber - 1)].osisId;
}

QStringView SwordBookNames::englishName(int bookNumber)
{
    if (bookNumber < 1 || bookNumber > BookAbbreviations::kCount) {
        return {};
    }
    return kBooks[static_cast<std::size_t>(bookNumber - 1)].englishName;
}

int SwordBookNames::find(QStringView name)
{
    // No OSIS id is an English name of another book, so the first match is the only one.
    for (std::size_t i = 0; i < kBooks.size(); ++i) {
        if (kBooks[i].englishName == name || kBooks[i].osisId == name) {
            return static_cast<int>(i) + 1;
        }
    }
    return BookAbbreviations::find(name);
}

} // namespace books
