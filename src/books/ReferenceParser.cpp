#include "books/ReferenceParser.h"

#include "books/BookAbbreviations.h"
#include "books/KoreanBookNames.h"
#include "books/SwordBookNames.h"
#include "books/UsfmBookIds.h"
#include "books/Versification.h"

#include <QHash>
#include <QRegularExpression>
#include <vector>

namespace books {

namespace {

// A book's name for looking up: without spaces or dots, in lower case.
QString lookupKey(QStringView name)
{
    QString key;
    key.reserve(name.size());
    for (const QChar c : name) {
        if (!c.isSpace() && c != u'.') {
            key += c.toCaseFolded();
        }
    }
    return key;
}

// Every name of every book by its lookup key; the first name given a key keeps it.
const QHash<QString, int>& bookNames()
{
    static const QHash<QString, int> names = [] {
        QHash<QString, int> all;
        const auto add = [&all](QStringView name, int book) {
            if (!name.isEmpty()) {
                all.insert(lookupKey(name), book);
            }
        };
        for (int book = BookAbbreviations::kCount; book >= 1; --book) {
            // Backwards and overwriting, so that the earlier book keeps a key two would share.
            add(BookAbbreviations::at(book), book);
            add(KoreanBookNames::at(book), book);
            add(SwordBookNames::osisId(book), book);
            add(UsfmBookIds::at(book), book);
            const QStringView english = SwordBookNames::englishName(book);
            add(english, book);
            // "I Samuel" is also "1 Samuel", "Revelation of John" also "Revelation".
            static const QStringView kNumerals[] = {u"III ", u"II ", u"I "};
            for (int n = 0; n < 3; ++n) {
                if (english.startsWith(kNumerals[n])) {
                    add(QString::number(3 - n) + english.sliced(kNumerals[n].size()).toString(), book);
                    break;
                }
            }
            if (english.endsWith(u" of John")) {
                add(english.chopped(8), book);
            }
        }
        all.insert(lookupKey(u"Psalm"), 19);
        all.insert(lookupKey(u"Song of Songs"), 22);
        return all;
    }();
    return names;
}

// The verses of each chapter of each book: [book][chapter], both from 1.
const std::vector<std::vector<int>>& chapterVerses()
{
    static const std::vector<std::vector<int>> books = [] {
        std::vector<std::vector<int>> all(BookAbbreviations::kCount + 1, std::vector<int>(1, 0));
        for (int c = 0; c < detail::kKoreanChapterCount; ++c) {
            const detail::VersificationChapter& chapter = detail::kKoreanChapters[c];
            std::vector<int>& verses = all[static_cast<std::size_t>(chapter.book)];
            verses.resize(std::max<std::size_t>(verses.size(), static_cast<std::size_t>(chapter.chapter) + 1), 0);
            verses[static_cast<std::size_t>(chapter.chapter)] = chapter.verses;
        }
        return all;
    }();
    return books;
}

// Digits as a number; beyond any chapter or verse when there are too many of them.
int numberOf(QStringView digits)
{
    return digits.size() > 6 ? 1000000 : digits.toInt();
}

} // namespace

int ReferenceParser::chapterCount(int book)
{
    if (book < 1 || book > BookAbbreviations::kCount) {
        return 0;
    }
    return static_cast<int>(chapterVerses()[static_cast<std::size_t>(book)].size()) - 1;
}

int ReferenceParser::verseCount(int book, int chapter)
{
    if (chapter < 1 || chapter > chapterCount(book)) {
        return 0;
    }
    return chapterVerses()[static_cast<std::size_t>(book)][static_cast<std::size_t>(chapter)];
}

TypedReference ReferenceParser::parse(QStringView typed)
{
    // The book as short as it can be, so that the chapter keeps all its digits ("창11:1"); then the chapter, and
    // the verse after a colon (full-width too) or a dot.
    static const QRegularExpression kPattern(QStringLiteral(R"(^(.*?)[\s.]*([0-9]+)(?:\s*[:：.]\s*([0-9]+))?$)"));
    TypedReference result;
    const QString text = typed.trimmed().toString();
    const QRegularExpressionMatch match = kPattern.match(text);
    result.bookName = match.hasMatch() ? match.captured(1).trimmed() : text;
    result.book = bookNames().value(lookupKey(result.bookName), 0);
    if (!match.hasMatch()) {
        // A word without numbers that is no book's name is a mistake of the book; anything else of the form.
        const bool word = !text.isEmpty() && !text.contains(QRegularExpression(QStringLiteral("[0-9]")));
        result.mistake =
            word && result.book == 0 ? TypedReference::Mistake::NoSuchBook : TypedReference::Mistake::NotAReference;
        return result;
    }
    // Numbers are written as the canonical reference writes them: without leading zeros.
    const auto padded = [&match](int group) {
        return match.capturedLength(group) > 1 && match.capturedView(group).front() == u'0';
    };
    if (result.bookName.isEmpty() || padded(2) || padded(3)) {
        return result;
    }
    if (result.book == 0) {
        result.mistake = TypedReference::Mistake::NoSuchBook;
        return result;
    }
    result.chapter = numberOf(match.capturedView(2));
    result.verse = match.hasCaptured(3) ? numberOf(match.capturedView(3)) : 1;
    const int verses = verseCount(result.book, result.chapter);
    if (verses == 0) {
        result.mistake = TypedReference::Mistake::NoSuchChapter;
        result.limit = chapterCount(result.book);
    } else if (result.verse < 1 || result.verse > verses) {
        result.mistake = TypedReference::Mistake::NoSuchVerse;
        result.limit = verses;
    } else {
        result.mistake = TypedReference::Mistake::None;
        result.reference = canonicalReference(BookAbbreviations::at(result.book), result.chapter, result.verse);
    }
    return result;
}

} // namespace books
