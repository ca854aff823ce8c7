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

namespace {

// The books' abbreviations; index 0 stands for no book.
const std::vector<QString>& books()
{
    static const std::vector<QString> all = [] {
        std::vector<QString> found(1);
        for (int c = 0; c < detail::kKoreanChapterCount; ++c) {
            if (detail::kKoreanChapters[c].book == static_cast<int>(found.size())) {
                found.push_back(QString::fromUtf16(detail::kKoreanChapters[c].abbreviation));
            }
        }
        return found;
    }();
    return all;
}

bool isBook(int book)
{
    return book >= 1 && book < static_cast<int>(books().size());
}

} // namespace

QString bookAbbreviation(int book)
{
    return isBook(book) ? books()[static_cast<std::size_t>(book)] : QString();
}

QByteArray canonicalReferenceUtf8(int book, int chapter, int verse)
{
    static const std::vector<QByteArray> utf8 = [] {
        std::vector<QByteArray> all;
        for (const QString& abbreviation : books()) {
            all.push_back(abbreviation.toUtf8());
        }
        return all;
    }();
    if (!isBook(book)) {
        return {};
    }
    return utf8[static_cast<std::size_t>(book)] + ' ' + QByteArray::number(chapter) + ':' + QByteArray::number(verse);
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
