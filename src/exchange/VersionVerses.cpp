#include "exchange/VersionVerses.h"

#include "versiondb/Error.h"
#include "versiondb/ErrorNumbers.h"
#include "versiondb/VersionStore.h"

#include <exception>

namespace exchange {

namespace {

using books::splitReference;

} // namespace

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
