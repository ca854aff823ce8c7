#include "books/UsfmBookIds.h"

#include "books/BookAbbreviations.h"

#include <array>

namespace books {

namespace {

constexpr std::array<QStringView, BookAbbreviations::kCount> kCodes = {
    u"GEN", u"EXO", u"LEV", u"NUM", u"DEU", u"JOS", u"JDG", u"RUT", u"1SA", u"2SA", u"1KI", u"2KI", u"1CH", u"2CH",
    u"EZR", u"NEH", u"EST", u"JOB", u"PSA", u"PRO", u"ECC", u"SNG", u"ISA", u"JER", u"LAM", u"EZK", u"DAN", u"HOS",
    u"JOL", u"AMO", u"OBA", u"JON", u"MIC", u"NAM", u"HAB", u"ZEP", u"HAG", u"ZEC", u"MAL", u"MAT", u"MRK", u"LUK",
    u"JHN", u"ACT", u"ROM", u"1CO", u"2CO", u"GAL", u"EPH", u"PHP", u"COL", u"1TH", u"2TH", u"1TI", u"2TI", u"TIT",
    u"PHM", u"HEB", u"JAS", u"1PE", u"2PE", u"1JN", u"2JN", u"3JN", u"JUD", u"REV",
};

} // namespace

QStringView UsfmBookIds::at(int bookNumber)
{
    if (bookNumber < 1 || bookNumber > BookAbbreviations::kCount) {
        return {};
    }
    return kCodes[static_cast<std::size_t>(bookNumber - 1)];
}

int UsfmBookIds::find(QStringView code)
{
    for (std::size_t i = 0; i < kCodes.size(); ++i) {
        if (kCodes[i].compare(code, Qt::CaseInsensitive) == 0) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

} // namespace books
