#include "import/BookAbbreviations.h"

namespace importer {

namespace {

constexpr std::array<QStringView, BookAbbreviations::kCount> kBooks = {
    u"창",   u"출",   u"레",   u"민", u"신",   u"수",   u"삿",   u"룻",   u"삼상", u"삼하", u"왕상",
    u"왕하", u"대상", u"대하", u"스", u"느",   u"에",   u"욥",   u"시",   u"잠",   u"전",   u"아",
    u"사",   u"렘",   u"애",   u"겔", u"단",   u"호",   u"욜",   u"암",   u"옵",   u"욘",   u"미",
    u"나",   u"합",   u"습",   u"학", u"슥",   u"말",   u"마",   u"막",   u"눅",   u"요",   u"행",
    u"롬",   u"고전", u"고후", u"갈", u"엡",   u"빌",   u"골",   u"살전", u"살후", u"딤전", u"딤후",
    u"딛",   u"몬",   u"히",   u"약", u"벧전", u"벧후", u"요일", u"요이", u"요삼", u"유",   u"계",
};

} // namespace

QStringView BookAbbreviations::at(int bookNumber)
{
    if (bookNumber < 1 || bookNumber > kCount) {
        return {};
    }
    return kBooks[static_cast<std::size_t>(bookNumber - 1)];
}

int BookAbbreviations::find(QStringView abbreviation)
{
    // A linear scan: 66 entries of one or two characters, the length compared first.
    for (std::size_t i = 0; i < kBooks.size(); ++i) {
        const QStringView book = kBooks[i];
        if (book.size() == abbreviation.size() && book == abbreviation) {
            return static_cast<int>(i) + 1;
        }
    }
    return 0;
}

} // namespace importer
