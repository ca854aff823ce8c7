#include "editor/EditRules.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// Just after the first break of any kind: CR, LF (CR LF counts at its CR), and a text box's
// paragraph and line separators; a tab is no break.
TEST(EditRules, lineBreakCaretIsJustAfterTheFirstBreakOfAnyKind)
{
    const std::pair<QString, std::optional<qsizetype>> cases[] = {
        {u"태초에\t하나님이"_s, std::nullopt},
        {u"태초에\u2029하나님이"_s, 4},
        {u"태초에\u2028하나님이"_s, 4},
        {u"ab\r\ncd\nef"_s, 3},
        {u"\nabc"_s, 1},
    };
    for (const auto& [text, caret] : cases) {
        EXPECT_EQ(editor::lineBreakCaret(text), caret) << text.toStdString();
    }
}
