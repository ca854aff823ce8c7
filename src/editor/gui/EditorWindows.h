#pragma once

#include "editor/EditorMessages.h"
#include "editor/VerseEditor.h"
#include "platform/gui/Dialogs.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <algorithm>
#include <optional>

// What the verse editor and its history and find and replace windows share.
namespace editor {

// True, after its message, when the verse was not in the version (no outcome) or the engine failed.
template <typename Outcome>
[[nodiscard]] bool refusedOutcome(platform::Dialogs& dialogs, QWidget* window, const QString& versionName,
                                  const std::optional<Outcome>& outcome)
{
    if (!outcome) {
        dialogs.warn(window, EditorMessages::aboutVersion(versionName, EditorMessages::kGoReferenceNotFound));
        return true;
    }
    if (outcome->failure) {
        dialogs.inform(window, EditorMessages::failure(versionName, *outcome->failure));
        return true;
    }
    return false;
}

// A list's columns: those before textColumn fit their contents, the texts from it on but the last take a readable
// width, the last text the rest; no heading is ever narrower than its text.
inline void setTextColumns(QTreeWidget& list, const QStringList& columns, int textColumn)
{
    // A list of two columns after one of three has no third one left over.
    list.setColumnCount(int(columns.size()));
    list.setHeaderLabels(columns);
    QHeaderView* header = list.header();
    int widest = 0;
    for (int column = 0; column < columns.size(); ++column) {
        widest = std::max(widest, header->sectionSizeHint(column));
        if (column < textColumn) {
            header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
        }
    }
    header->setMinimumSectionSize(widest);
    // The readable width of a text, in characters.
    constexpr int kTextColumnChars = 30;
    for (int column = textColumn; column + 1 < columns.size(); ++column) {
        header->resizeSection(column,
                              std::max(widest, list.window()->fontMetrics().averageCharWidth() * kTextColumnChars));
    }
}

} // namespace editor
