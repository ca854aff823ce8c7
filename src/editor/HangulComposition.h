#pragma once

#include "platform/MessageIcon.h"
#include "platform/RunControl.h"
#include "versiondb/Error.h"

#include <QString>

namespace editor {

struct ComposeOutcome
{
    bool done = false;
    qint64 change = 0; // the number of the change in the history, 0 when no text needed composing
    qint64 verses = 0;
    versiondb::ErrorItem failure;
    bool cancelled = false; // the run was cancelled: nothing was stored
};

// Stores the NFC of every text with decomposed Hangul, as one change of the history (ChangeSource::Compose) in
// one transaction: all of them or, on any failure or a cancel of control between verses, none.
[[nodiscard]] ComposeOutcome composeDecomposed(const QString& path, platform::RunControl* control = nullptr);

// The messages of a composition that the inspection window shows.
namespace ComposeMessages {
// The question before composing, its outcome, and why it failed (after the file's display name).
[[nodiscard]] QString question(int verses);
[[nodiscard]] platform::Message composed(const ComposeOutcome& outcome);
[[nodiscard]] platform::Message failure(const ComposeOutcome& outcome, const QString& path);
[[nodiscard]] platform::Message cancelled();
} // namespace ComposeMessages

} // namespace editor
