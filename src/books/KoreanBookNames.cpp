#include "books/KoreanBookNames.h"

#include "books/BookAbbreviations.h"

namespace books {

namespace {

constexpr std::array<QStringView, BookAbbreviations::kCount> kNames = {
    u"창세기",   u"출애굽기", u"레위기",         u"민수기",         u"신명기",     u"여호수아",   u"사사기",
    u"룻기",     u"사무엘상", u"사무엘하",       u"열왕기상",       u"열왕기하",   u"역대상",     u"역대하",
    u"에스라",   u"느헤미야", u"에스더",         u"욥기",           u"시편",       u"잠언",       u"전도서",
    u"아가",     u"이사야",   u"예레미야",       u"예레미야애가",   u"에스겔",     u"다니엘",     u"호세아",
    u"요엘",     u"아모스",   u"오바댜",         u"요나",           u"미가",       u"나훔",       u"하박국",
    u"스바냐",   u"학개",     u"스가랴",         u"말라기",         u"마태복음",   u"마가복음",   u"누가복음",
    u"요한복음", u"사도행전", u"로마서",         u"고린도전서",     u"고린도후서", u"갈라디아서", u"에베소서",
    u"빌립보서", u"골로새서", u"데살로니가전서", u"데살로니가후서", u"디모데전서", u"디모데후서", u"디도서",
    u"빌레몬서", u"히브리서", u"야고보서",       u"베드로전서",     u"베드로후서", u"요한일서",   u"요한이서",
    u"요한삼서", u"유다서",   u"요한계시록",
};

} // namespace

QStringView KoreanBookNames::at(int bookNumber)
{
    return bookEntry(kNames, bookNumber);
}

} // namespace books
