#include "versiondb/Versification.h"

namespace versiondb {

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

QString bookAbbreviation(int book)
{
    // Index 0 stands for no book.
    static const std::vector<QString> books = [] {
        std::vector<QString> all(1);
        for (int c = 0; c < detail::kKoreanChapterCount; ++c) {
            if (detail::kKoreanChapters[c].book == static_cast<int>(all.size())) {
                all.push_back(QString::fromUtf16(detail::kKoreanChapters[c].abbreviation));
            }
        }
        return all;
    }();
    return book >= 1 && book < static_cast<int>(books.size()) ? books[static_cast<std::size_t>(book)] : QString();
}

QString canonicalReference(const QString& abbreviation, int chapter, int verse)
{
    return abbreviation + u' ' + QString::number(chapter) + u':' + QString::number(verse);
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

} // namespace versiondb
