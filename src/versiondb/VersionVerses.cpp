#include "versiondb/VersionVerses.h"

#include "versiondb/Cancelled.h"
#include "versiondb/VersionStore.h"

namespace versiondb {

void reportVerses(platform::RunControl* control, qint64 done, qint64 total, qint64 every)
{
    if (control != nullptr && done % every == 0) {
        control->report(done, total);
        stopIfCancelled(control);
    }
}

VersionVerses readVersionVerses(const QString& path, platform::RunControl* control)
{
    VersionVerses result;
    try {
        const auto version = VersionStore::openDatabase(path);
        const qint64 total = version->recordCount();
        result.verses.reserve(total);
        qint64 done = 0;
        version->readVerses([&](const VerseRecord& record) {
            reportVerses(control, done++, total);
            if (result.unreadable) {
                return;
            }
            Verse verse;
            verse.number = record[kNumber].toLongLong();
            const QVariant& reference = record[kReference];
            verse.reference = reference.isNull() ? QString() : reference.toString();
            if (!record[kText].isNull()) {
                verse.text = record[kText].toString();
            }
            if (!books::splitReference(verse.reference, verse)) {
                result.unreadable = std::move(verse);
                return;
            }
            result.verses.append(std::move(verse));
        });
        version->close();
        stopIfCancelled(control); // a cancel during the last verses
        if (control != nullptr) {
            control->report(total, total);
        }
        if (result.unreadable) {
            result.verses.clear();
        }
    } catch (const Cancelled&) {
        result = {};
        result.cancelled = true;
    } catch (const std::exception& error) {
        result.verses.clear();
        result.failure = failureOf(error);
    }
    return result;
}

} // namespace versiondb
