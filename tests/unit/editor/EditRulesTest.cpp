#include "editor/EditRules.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(EditRules, trimSpacesTakesOnlySpacesFromBothEnds)
{
    const std::pair<QString, QString> cases[] = {
        {u"  창 1:1   "_s, u"창 1:1"_s},
        {u" 태초에  하나님이 "_s, u"태초에  하나님이"_s},
        {u"     "_s, QString()},
        {u"\t창 1:1 "_s, u"\t창 1:1"_s},
        {u"\u3000말씀 "_s, u"\u3000말씀"_s},
        {u" 말씀\r\n "_s, u"말씀\r\n"_s},
    };
    for (const auto& [text, trimmed] : cases) {
        EXPECT_EQ(editor::trimSpaces(text), trimmed) << text.toStdString();
    }
}

// Just after the first break of any kind: CR, LF (CR LF counts at its CR), and a text box's
// paragraph and line separators; a tab is no break.
TEST(EditRules, lineBreakCaretIsJustAfterTheFirstBreakOfAnyKind)
{
    const std::pair<QString, std::optional<qsizetype>> cases[] = {
        {u"태초에 하나님이"_s, std::nullopt},
        {QString(), std::nullopt},
        {u"태초에\r하나님이"_s, 4},
        {u"태초에\n하나님이"_s, 4},
        {u"태초에\r\n하나님이"_s, 4},
        {u"태초에\u2029하나님이"_s, 4},
        {u"태초에\u2028하나님이"_s, 4},
        {u"ab\ncd\ref"_s, 3},
        {u"\nabc"_s, 1},
        {u"abc\r"_s, 4},
        {u"a\tb"_s, std::nullopt},
    };
    for (const auto& [text, caret] : cases) {
        EXPECT_EQ(editor::lineBreakCaret(text), caret) << text.toStdString();
    }
}
