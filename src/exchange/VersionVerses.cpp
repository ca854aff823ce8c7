#include "exchange/VersionVerses.h"

#include "import/BookAbbreviations.h"
#include "versiondb/Error.h"
#include "versiondb/ErrorNumbers.h"
#include "versiondb/VersionStore.h"

#include <exception>

namespace exchange {

namespace {

// A number of 1 or more without a sign or leading zeros, or 0.
int positiveNumber(QStringView digits)
{
    if (digits.isEmpty() || digits.size() > 9 || digits.front() == u'0') {
        return 0;
    }
    int number = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9') {
            return 0;
        }
        number = number * 10 + (c.unicode() - u'0');
    }
    return number;
}

} // namespace

bool splitReference(const QString& reference, Verse& verse)
{
    const qsizetype space = reference.indexOf(u' ');
    const qsizetype colon = reference.indexOf(u':', space + 1);
    if (space < 1 || colon < 0) {
        return false;
    }
    const int bookNumber = importer::BookAbbreviations::find(QStringView(reference).first(space));
    const int chapter = positiveNumber(QStringView(reference).sliced(space + 1, colon - space - 1));
    const int verseNumber = positiveNumber(QStringView(reference).sliced(colon + 1));
    if (bookNumber == 0 || chapter == 0 || verseNumber == 0) {
        return false;
    }
    verse.book = importer::BookAbbreviations::at(bookNumber);
    verse.bookNumber = bookNumber;
    verse.chapter = chapter;
    verse.verse = verseNumber;
    return true;
}

VersionVerses readVersionVerses(const QString& path)
{
    VersionVerses result;
    try {
        const auto version = versiondb::VersionStore::OpenDatabase(path);
        result.verses.reserve(version->RecordCount());
        version->readVerses([&](const versiondb::VerseRecord& record) {
            if (result.unreadable) {
                return;
            }
            Verse verse;
            verse.number = record[versiondb::kNumber].toLongLong();
            const QVariant& reference = record[versiondb::kReference];
            verse.reference = reference.isNull() ? QString() : reference.toString();
            if (!record[versiondb::kText].isNull()) {
                verse.text = record[versiondb::kText].toString();
            }
            if (!splitReference(verse.reference, verse)) {
                result.unreadable = std::move(verse);
                return;
            }
            result.verses.append(std::move(verse));
        });
        version->Close();
        if (result.unreadable) {
            result.verses.clear();
        }
    } catch (const versiondb::Error& error) {
        result.verses.clear();
        result.engineFailure = versiondb::ErrorItem{error.Number(), error.Description()};
    } catch (const std::exception&) {
        result.verses.clear();
        result.engineFailure = versiondb::ErrorItem{versiondb::errorNumber::EngineFailure,
                                                    versiondb::errorDescription(versiondb::errorNumber::EngineFailure)};
    }
    return result;
}

} // namespace exchange
