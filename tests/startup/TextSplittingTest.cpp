#include "startup/nTarvenixClasses_U.h"
#include "startup/WindowsCommandLine.h"

#include <gtest/gtest.h>

namespace {

using TnTarvenixUtils::GetValorParametro;
using TnTarvenixUtils::InArrayIgnoreCase;
using TnTarvenixUtils::StrToStrArray;
using List = std::vector<std::u16string>;

TEST(StrToStrArray, PlainFieldsKeepEmptiesAndBlanks) {
    EXPECT_EQ(StrToStrArray(u"", u';'), List{});
    EXPECT_EQ(StrToStrArray(u"a;b", u';'), (List{u"a", u"b"}));
    EXPECT_EQ(StrToStrArray(u"a;", u';'), (List{u"a", u""}));
    EXPECT_EQ(StrToStrArray(u";", u';'), (List{u"", u""}));
    EXPECT_EQ(StrToStrArray(u"a;;b", u';'), (List{u"a", u"", u"b"}));
    EXPECT_EQ(StrToStrArray(u";a", u';'), (List{u"", u"a"}));
    EXPECT_EQ(StrToStrArray(u" a ; b ", u';'), (List{u" a ", u" b "}));
    EXPECT_EQ(StrToStrArray(u"a|", u'|'), (List{u"a", u""}));
    EXPECT_EQ(StrToStrArray(u"a\"b;c", u';'), (List{u"a\"b", u"c"}));
}

TEST(StrToStrArray, QuotedFields) {
    EXPECT_EQ(StrToStrArray(u"x;\"p;q\";y", u';'), (List{u"x", u"p;q", u"y"}));
    EXPECT_EQ(StrToStrArray(u"\"ab\"cd;e", u';'), (List{u"ab", u"cd", u"e"}));
    EXPECT_EQ(StrToStrArray(u"\"a\"\"b\"", u';'), (List{u"a\"b"}));
    EXPECT_EQ(StrToStrArray(u"\"\";x", u';'), (List{u"", u"x"}));
    EXPECT_EQ(StrToStrArray(u"\"unclosed;still", u';'), (List{u"unclosed;still"}));
    EXPECT_EQ(StrToStrArray(u"\"", u';'), (List{u""}));
    EXPECT_EQ(StrToStrArray(u"\"a\";", u';'), (List{u"a", u""}));
}

TEST(StrToStrArray, CombiningMarkAfterSeparatorIsConsumed) {
    EXPECT_EQ(StrToStrArray(u"a;\u0301b", u';'), (List{u"a", u"b"}));
    EXPECT_EQ(StrToStrArray(u"a;\u0301", u';'), (List{u"a", u""}));
    // Only right after a separator; elsewhere a mark belongs to its field.
    EXPECT_EQ(StrToStrArray(u"\u0301a;b\u0301", u';'), (List{u"\u0301a", u"b\u0301"}));
    // Every script's non-spacing marks (Hebrew, Arabic, Thai, Devanagari, and
    // one beyond the first plane), and only those: enclosing marks (Me) and
    // spacing ones (Mc) stay.
    for (std::u16string mark : {u"\u05B0", u"\u064B", u"\u0E31", u"\u094D", u"\U0001D167", u"\u0301\u064B"})
        EXPECT_EQ(StrToStrArray(u"a|" + mark + u"b", u'|'), (List{u"a", u"b"}));
    for (std::u16string kept : {u"\u0488", u"\u20DD", u"\u0903", u"\U0001D165"})
        EXPECT_EQ(StrToStrArray(u"a|" + kept + u"b", u'|'), (List{u"a", kept + u"b"}));
}

TEST(StrToStrArray, LongTextSplitsWithoutTrouble) {
    std::u16string text;
    for (int i = 0; i < 100000; ++i) text += u"abcdefgh|";
    EXPECT_EQ(StrToStrArray(text, u'|').size(), 100001u);
}

TEST(GetValorParametro, KeysTrimmedAndCaseInsensitiveValuesUntouched) {
    EXPECT_EQ(GetValorParametro(u"IP", u" ip =10.0.0.5;x=1"), u"10.0.0.5");
    EXPECT_EQ(GetValorParametro(u"x", u" ip =10.0.0.5;x= 1 "), u" 1 ");
    EXPECT_EQ(GetValorParametro(u"ip", u"ip=a=b"), u"");
    EXPECT_EQ(GetValorParametro(u"ip", u"ip=\"a=b\""), u"a=b");
    EXPECT_EQ(GetValorParametro(u"ip", u"ip;ip=1"), u"1");
    EXPECT_EQ(GetValorParametro(u"ip", u"ip=10.0.0.5;ip=10.0.0.6"), u"10.0.0.5");
    EXPECT_EQ(GetValorParametro(u"ip", u""), u"");
    EXPECT_EQ(GetValorParametro(u"", u"=v"), u"v");
}

TEST(InArrayIgnoreCase, TrimsAndFoldsBothSides) {
    EXPECT_TRUE(InArrayIgnoreCase(u" PDF ", {u"txt", u"pdf"}));
    EXPECT_TRUE(InArrayIgnoreCase(u"pdf", {u" Pdf\t"}));
    EXPECT_FALSE(InArrayIgnoreCase(u"pdf", {u".pdf"}));
    EXPECT_FALSE(InArrayIgnoreCase(u"pdf", {}));
    EXPECT_TRUE(InArrayIgnoreCase(u"", {u"a", u""}));
    EXPECT_FALSE(InArrayIgnoreCase(u"ÇA", {u"ça"}));
}

TEST(WindowsCommandLine, BlanksQuotesAndEmptyQuotedTexts) {
    EXPECT_EQ(SplitWindowsCommandLine(u"app.exe -Name \"\" -Email x"), (List{u"app.exe", u"-Name", u"-Email", u"x"}));
    EXPECT_EQ(SplitWindowsCommandLine(u"app ab\"c d\"e"), (List{u"app", u"abc de"}));
    EXPECT_EQ(SplitWindowsCommandLine(u"\"C:\\Program Files\\app.exe\"  -Name \"Ana Souza\""),
              (List{u"C:\\Program Files\\app.exe", u"-Name", u"Ana Souza"}));
    EXPECT_EQ(SplitWindowsCommandLine(u"app \"a\\\" b"), (List{u"app", u"a\\", u"b"}));
    EXPECT_EQ(SplitWindowsCommandLine(u"app\t\x01x\x1f y"), (List{u"app", u"x", u"y"}));
    EXPECT_EQ(SplitWindowsCommandLine(u"app \"unclosed run"), (List{u"app", u"unclosed run"}));
    EXPECT_EQ(SplitWindowsCommandLine(u"app \"\"\"\" \"\"x"), (List{u"app", u"x"}));
    EXPECT_EQ(SplitWindowsCommandLine(u"app a\"\"b"), (List{u"app", u"ab"}));
    EXPECT_EQ(SplitWindowsCommandLine(u"app x \""), (List{u"app", u"x"}));
    EXPECT_EQ(SplitWindowsCommandLine(u""), List{});
    EXPECT_EQ(SplitWindowsCommandLine(std::u16string(u"app a\0b", 8)), (List{u"app", u"a"}));
}

}  // namespace
