#include "exchange/VersionVerses.h"

#include "versiondb/DBEngine.h"
#include "versiondb/Database.h"
#include "versiondb/Error.h"
#include "versiondb/ErrorNumbers.h"
#include "versiondb/Password.h"
#include "versiondb/Recordset.h"

#include <exception>

namespace exchange {

namespace {

const QString kTable = QStringLiteral("본문");
const QString kNumber = QStringLiteral("번호");
const QString kReference = QStringLiteral("성경구절");
const QString kText = QStringLiteral("본문");

using books::splitReference;

} // namespace

VersionVerses readVersionVerses(const QString& path)
{
    VersionVerses result;
    try {
        auto database = versiondb::DBEngine::instance().OpenDatabase(path, true, false, versiondb::passwordConnect());
        {
            auto recordset = database->OpenRecordset(kTable, versiondb::dbOpenTable);
            result.verses.reserve(recordset->RecordCount());
        }
        database->ReadRecords(kTable, {kNumber, kReference, kText}, kNumber, [&](const QList<QVariant>& values) {
            if (result.unreadable) {
                return;
            }
            Verse verse;
            verse.number = values[0].toLongLong();
            verse.reference = values[1].isNull() ? QString() : values[1].toString();
            if (!values[2].isNull()) {
                verse.text = values[2].toString();
            }
            if (!splitReference(verse.reference, verse)) {
                result.unreadable = std::move(verse);
                return;
            }
            result.verses.append(std::move(verse));
        });
        database->Close();
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
