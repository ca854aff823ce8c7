#include "books/ReferenceParser.h"

#include "editor/EditorMessages.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Mistake = books::TypedReference::Mistake;

TEST(ReferenceParserTest, EveryFormResolves)
{
    const std::pair<QString, QString> forms[] = {
        {u"창 1:1"_s, u"창 1:1"_s},         {u"창1:1"_s, u"창 1:1"_s},
        {u"창세기 1:1"_s, u"창 1:1"_s},     {u"창세기1:1"_s, u"창 1:1"_s},
        {u"Gen 1:1"_s, u"창 1:1"_s},        {u"Genesis 1:1"_s, u"창 1:1"_s},
        {u"Gen.1.1"_s, u"창 1:1"_s},        {u"gen 1:1"_s, u"창 1:1"_s},
        {u"창 1：1"_s, u"창 1:1"_s},        {u"창 1"_s, u"창 1:1"_s},
        {u" 창 11:2 "_s, u"창 11:2"_s},     {u"요일 1:1"_s, u"요일 1:1"_s},
        {u"1John 1:1"_s, u"요일 1:1"_s},    {u"I John 1:1"_s, u"요일 1:1"_s},
        {u"1 Samuel 3:4"_s, u"삼상 3:4"_s}, {u"1Sam.3.4"_s, u"삼상 3:4"_s},
        {u"계 1:2"_s, u"계 1:2"_s},         {u"요한계시록 22:21"_s, u"계 22:21"_s},
        {u"Revelation 22"_s, u"계 22:1"_s}, {u"Psalm 119:176"_s, u"시 119:176"_s},
        {u"JHN 3:16"_s, u"요 3:16"_s},
    };
    for (const auto& [typed, canonical] : forms) {
        const books::TypedReference read = books::ReferenceParser::parse(typed);
        EXPECT_EQ(std::pair(read.mistake, read.reference), std::pair(Mistake::None, canonical)) << typed.toStdString();
    }
}

TEST(ReferenceParserTest, EachMistakeHasItsMessage)
{
    const QString other = u"다른 오류"_s;
    const std::pair<QString, QString> mistakes[] = {
        {u"없는 1:1"_s, u"성경에 '없는' 책이 없습니다. 확인하고 다시 입력하여 주십시오 !"_s},
        {u"Genesys"_s, u"성경에 'Genesys' 책이 없습니다. 확인하고 다시 입력하여 주십시오 !"_s},
        {u"창 51:1"_s, u"창세기는 50장까지 있습니다. 확인하고 다시 입력하여 주십시오 !"_s},
        {u"유 1:26"_s, u"유다서 1장은 25절까지 있습니다. 확인하고 다시 입력하여 주십시오 !"_s},
        {u"창 01:1"_s, other},
        {u"창"_s, other},
        {u"1:1"_s, other},
        {u"창 1:1"_s, other},
    };
    for (const auto& [typed, message] : mistakes) {
        EXPECT_EQ(editor::EditorMessages::referenceMistake(typed, other), message) << typed.toStdString();
    }
}
