#include "editor/HangulComposition.h"

#include "platform/FileNames.h"
#include "platform/HangulJamo.h"
#include "platform/Thousands.h"
#include "versiondb/Cancelled.h"
#include "versiondb/History.h"
#include "versiondb/Transaction.h"
#include "versiondb/VersionStore.h"
#include "versiondb/VersionVerses.h"

#include <exception>
#include <memory>
#include <utility>
#include <vector>

namespace editor {

ComposeOutcome composeDecomposed(const QString& path, platform::RunControl* control)
{
    ComposeOutcome outcome;
    try {
        const auto version = versiondb::VersionStore::openDatabase(path);
        std::vector<std::pair<qint64, QString>> composed;
        // Reading counts for the first half of the run, storing for the second.
        const qint64 total = control != nullptr ? 2 * version->recordCount() : 0;
        qint64 done = 0;
        version->readVerses([&](const versiondb::VerseRecord& record) {
            versiondb::reportVerses(control, done++, total);
            const QString text = record[versiondb::kText].toString();
            if (!record[versiondb::kText].isNull() && platform::hasDecomposedHangul(text)) {
                composed.emplace_back(record.row, text.normalized(QString::NormalizationForm_C));
            }
        });
        versiondb::Transaction transaction(*version);
        versiondb::History history(*version);
        versiondb::PendingChange change(versiondb::ChangeSource::Compose);
        done = total / 2;
        for (const auto& [row, text] : composed) {
            versiondb::reportVerses(control, done++, total);
            outcome.verses += history.setText(row, text, change) ? 1 : 0;
        }
        // Uncommitted, the transaction rolls every text back.
        versiondb::stopIfCancelled(control);
        outcome.change = history.finish(change);
        transaction.commit();
        outcome.done = true;
    } catch (const versiondb::Cancelled&) {
        outcome = {};
        outcome.cancelled = true;
    } catch (const std::exception& error) {
        outcome = {};
        outcome.failure = versiondb::failureOf(error);
    }
    return outcome;
}

QString ComposeMessages::question(int verses)
{
    return QStringLiteral("풀어쓴 한글(자모)이 있는 본문 %1개를 완성형 한글로 조합하여 저장하시겠습니까?\r\n"
                          "한 번의 변경으로 기록되므로 한꺼번에 되돌릴 수 있습니다.")
        .arg(platform::thousands(verses));
}

platform::Message ComposeMessages::composed(const ComposeOutcome& outcome)
{
    return {platform::MessageIcon::Information,
            QStringLiteral("본문 %1개의 한글을 조합하여 저장했습니다.").arg(platform::thousands(outcome.verses))};
}

platform::Message ComposeMessages::failure(const ComposeOutcome& outcome, const QString& path)
{
    return {platform::MessageIcon::Exclamation,
            platform::getFileName(path) + QStringLiteral("\r\n\r\n") + outcome.failure.description};
}

platform::Message ComposeMessages::cancelled()
{
    return {platform::MessageIcon::Information, QStringLiteral("한글 조합을 취소했습니다. 본문은 그대로입니다.")};
}

} // namespace editor
