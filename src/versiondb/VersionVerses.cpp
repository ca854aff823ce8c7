#include "versiondb/VersionVerses.h"

#include "versiondb/Cancelled.h"
#include "versiondb/Error.h"
#include "versiondb/ErrorNumbers.h"
#include "versiondb/VersionStore.h"

#include <exception>

namespace versiondb {

namespace {

using books::splitReference;

} // namespace

void reportVerses(platform::RunControl* control, qint64 done, qint64 total)
{
    if (control != nullptr && done % kVersesBetweenChecks == 0) {
        control->report(done, total);
        versiondb::stopIfCancelled(control);
    }
}

VersionVerses readVersionVerses(const QString& path, platform::RunControl* control)
{
    VersionVerses result;
    try {
        const auto version = versiondb::VersionStore::openDatabase(path);
        const qint64 total = version->recordCount();
        result.verses.reserve(total);
        qint64 done = 0;
        version->readVerses([&](const versiondb::VerseRecord& record) {
            reportVerses(control, done++, total);
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
        version->close();
        versiondb::stopIfCancelled(control); // a cancel during the last verses
        if (control != nullptr) {
            control->report(total, total);
        }
        if (result.unreadable) {
            result.verses.clear();
        }
    } catch (const versiondb::Cancelled&) {
        result = {};
        result.cancelled = true;
    } catch (const std::exception& error) {
        result.verses.clear();
        result.failure = versiondb::failureOf(error);
    }
    return result;
}

} // namespace versiondb
