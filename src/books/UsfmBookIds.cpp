#include "books/UsfmBookIds.h"

#include "books/BookAbbreviations.h"

#include <algorithm>

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
    return bookEntry(kCodes, bookNumber);
}

int UsfmBookIds::find(QStringView code)
{
    const auto found = std::find_if(kCodes.begin(), kCodes.end(), [code](QStringView known) {
        return known.compare(code, Qt::CaseInsensitive) == 0;
    });
    return found == kCodes.end() ? 0 : static_cast<int>(found - kCodes.begin()) + 1;
}

} // namespace books
