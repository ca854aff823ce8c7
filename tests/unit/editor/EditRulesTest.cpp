#include "editor/EditRules.h"

#include <gtest/gtest.h>

using editor::lineBreakCaret;
using editor::trimSpaces;

namespace {

struct TrimCase
{
    const char* name;
    QString text;
    QString trimmed;
};

TEST(EditRules, trimSpacesTakesOnlySpacesFromBothEnds)
{
    const TrimCase cases[] = {
        {"nothing to trim", QStringLiteral("창 1:1"), QStringLiteral("창 1:1")},
        {"both ends", QStringLiteral("  창 1:1   "), QStringLiteral("창 1:1")},
        {"inner spaces stay", QStringLiteral(" 태초에  하나님이 "), QStringLiteral("태초에  하나님이")},
        {"spaces only", QStringLiteral("     "), QString()},
        {"empty", QString(), QString()},
        {"a tab stays", QStringLiteral("\t창 1:1 "), QStringLiteral("\t창 1:1")},
        {"an ideographic space stays", QStringLiteral("\u3000말씀 "), QStringLiteral("\u3000말씀")},
        {"a line break at the end stays", QStringLiteral(" 말씀\r\n "), QStringLiteral("말씀\r\n")},
    };
    for (const TrimCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(trimSpaces(c.text), c.trimmed);
    }
}

struct BreakCase
{
    const char* name;
    QString text;
    std::optional<qsizetype> caret;
};

TEST(EditRules, lineBreakCaretIsJustAfterTheFirstBreakOfAnyKind)
{
    const BreakCase cases[] = {
        {"one line", QStringLiteral("태초에 하나님이 천지를 창조하시니라"), std::nullopt},
        {"empty", QString(), std::nullopt},
        {"carriage return", QStringLiteral("태초에\r하나님이"), 4},
        {"line feed alone", QStringLiteral("태초에\n하나님이"), 4},
        {"CR LF: after the CR", QStringLiteral("태초에\r\n하나님이"), 4},
        {"paragraph separator of a text box", QStringLiteral("태초에\u2029하나님이"), 4},
        {"line separator", QStringLiteral("태초에\u2028하나님이"), 4},
        {"the first of several", QStringLiteral("ab\ncd\ref"), 3},
        {"at the very start", QStringLiteral("\nabc"), 1},
        {"at the very end", QStringLiteral("abc\r"), 4},
        {"a tab is no break", QStringLiteral("a\tb"), std::nullopt},
    };
    for (const BreakCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(lineBreakCaret(c.text), c.caret);
    }
}

} // namespace
