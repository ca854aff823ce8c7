#include "books/Versification.h"

#include "books/BookAbbreviations.h"

namespace books {

const std::vector<SkeletonVerse>& koreanVersification()
{
    static const std::vector<SkeletonVerse> verses = [] {
        std::vector<SkeletonVerse> all;
        for (int c = 0; c < detail::kKoreanChapterCount; ++c) {
            const detail::VersificationChapter& chapter = detail::kKoreanChapters[c];
            const QString abbreviation = QString::fromUtf16(chapter.abbreviation);
            for (int verse = 1; verse <= chapter.verses; ++verse) {
                all.push_back({static_cast<int>(all.size()) + 1, chapter.book, chapter.chapter, verse,
                               canonicalReference(abbreviation, chapter.chapter, verse)});
            }
        }
        return all;
    }();
    return verses;
}

QByteArray canonicalReferenceUtf8(int book, int chapter, int verse)
{
    static const std::vector<QByteArray> utf8 = [] {
        std::vector<QByteArray> all(1);
        for (int b = 1; b <= BookAbbreviations::kCount; ++b) {
            all.push_back(BookAbbreviations::at(b).toUtf8());
        }
        return all;
    }();
    if (book < 1 || book > BookAbbreviations::kCount) {
        return {};
    }
    return utf8[static_cast<std::size_t>(book)] + ' ' + QByteArray::number(chapter) + ':' + QByteArray::number(verse);
}

QString canonicalReference(QStringView abbreviation, int chapter, int verse)
{
    return abbreviation.toString() + u' ' + QString::number(chapter) + u':' + QString::number(verse);
}

namespace {

// A number of 1 or more without a sign or leading zeros, or 0.
int positiveNumber(QStringView digits)
{
    if (digits.isEmpty() || digits.size() > 9 || digits.front() == u'0') {
        return 0;
    }
    int number = 0;
    for (const QChar c : digits) {
        if (!isDigit(c)) {
            return 0;
        }
        number = number * 10 + (c.unicode() - u'0');
    }
    return number;
}

} // namespace

bool splitReference(const QString& reference, ReferenceParts& parts)
{
    const qsizetype space = reference.indexOf(u' ');
    const qsizetype colon = reference.indexOf(u':', space + 1);
    if (space < 1 || colon < 0) {
        return false;
    }
    const int bookNumber = BookAbbreviations::find(QStringView(reference).first(space));
    const int chapter = positiveNumber(QStringView(reference).sliced(space + 1, colon - space - 1));
    const int verseNumber = positiveNumber(QStringView(reference).sliced(colon + 1));
    if (bookNumber == 0 || chapter == 0 || verseNumber == 0) {
        return false;
    }
    parts = {BookAbbreviations::at(bookNumber), bookNumber, chapter, verseNumber};
    return true;
}

QStringList verseRanges(const std::vector<SkeletonVerse>& verses)
{
    QStringList ranges;
    for (std::size_t i = 0; i < verses.size();) {
        std::size_t last = i;
        while (last + 1 < verses.size() && verses[last + 1].number == verses[last].number + 1 &&
               verses[last + 1].book == verses[i].book && verses[last + 1].chapter == verses[i].chapter &&
               verses[last + 1].verse == verses[last].verse + 1) {
            ++last;
        }
        ranges << (last == i ? verses[i].reference : verses[i].reference + u'-' + QString::number(verses[last].verse));
        i = last + 1;
    }
    return ranges;
}

} // namespace books
