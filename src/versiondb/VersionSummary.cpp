#include "versiondb/VersionSummary.h"

#include "versiondb/History.h"
#include "versiondb/VersionStore.h"

namespace versiondb {

VersionSummary summarizeVersion(const QString& path)
{
    const auto store = VersionStore::openDatabase(path, VersionStore::Hold::Read);
    VersionSummary summary;
    summary.verses = store->recordCount();
    summary.versesWithText = store->textCount();
    History history(*store);
    if (const std::vector<Change> changes = history.changes(); !changes.empty()) {
        summary.changed = changes.front().time;
    }
    return summary;
}

} // namespace versiondb
