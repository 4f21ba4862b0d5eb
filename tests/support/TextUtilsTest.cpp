#include "support/Base64.h"
#include "support/SafeFileName.h"
#include "support/ScriptText.h"
#include "support/TextUtils.h"

#include <gtest/gtest.h>

namespace {

TEST(TextUtils, TrimRemovesOnlyBlanksAndControls) {
    EXPECT_EQ(Trim(std::u16string(u"\0\t a b \x1f", 8)), u"a b");
    EXPECT_EQ(Trim(u"\u00A0x\u00A0"), u"\u00A0x\u00A0");
    EXPECT_EQ(Trim(u"   "), u"");
}

TEST(TextUtils, Utf8RoundTripAndInvalidBytes) {
    const std::u16string text = u"ação \U0001F600 \u2028";
    EXPECT_EQ(FromUtf8(ToUtf8(text)), text);
    EXPECT_EQ(FromUtf8("a\xFF" "b"), u"a\uFFFDb");
    EXPECT_EQ(ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
}

TEST(TextUtils, FormatFillsInOrder) {
    EXPECT_EQ(FormatText(u"%s/x/%s", {u"a", u"b"}), u"a/x/b");
    EXPECT_EQ(FormatText(u"%s %s", {u"%s"}), u"%s ");
    EXPECT_EQ(ReplaceFirst(u"a&x&x", u"&x", u""), u"a&x");
}

TEST(Base64, Rfc4648Vectors) {
    EXPECT_EQ(Base64Encode(""), "");
    EXPECT_EQ(Base64Encode("f"), "Zg==");
    EXPECT_EQ(Base64Encode("fo"), "Zm8=");
    EXPECT_EQ(Base64Encode("foo"), "Zm9v");
    EXPECT_EQ(Base64Encode("foobar"), "Zm9vYmFy");
    EXPECT_EQ(Base64Encode("\xFB\xFF"), "+/8=");
}

TEST(ScriptText, OutsideTextCannotLeaveItsLiteral) {
    EXPECT_EQ(EscapeForScriptString(u"123 456 789"), u"123 456 789");
    EXPECT_EQ(EscapeForScriptString(u"a\"b\\c'"), u"a\\\"b\\\\c\\'");
    EXPECT_EQ(EscapeForScriptString(u"</script>"), u"\\u003C/script\\u003E");
    EXPECT_EQ(EscapeForScriptString(u"l1\r\nl2\u2028\u2029"), u"l1\\r\\nl2\\u2028\\u2029");
    EXPECT_EQ(EscapeForScriptString(std::u16string(u"\0\x1b", 2)), u"\\u0000\\u001B");
    EXPECT_EQ(EscapeForScriptString(u"ç \U0001F600"), u"ç \\uD83D\\uDE00");
}

TEST(SafeFileName, ServerNamesBecomeNamesEitherSystemCreatesInTheUsersFolder) {
    EXPECT_EQ(SafeFileName(u"relatório maçã.pdf"), u"relatório maçã.pdf");
    EXPECT_EQ(SafeFileName(u"../../.bashrc"), u"bashrc");
    EXPECT_EQ(SafeFileName(u"C:\\Windows\\win.ini"), u"win.ini");
    EXPECT_EQ(SafeFileName(u"a<b>c:d\"e|f?g*h\x01.txt"), u"a_b_c_d_e_f_g_h_.txt");
    EXPECT_EQ(SafeFileName(u"nota.txt. . "), u"nota.txt");
    EXPECT_EQ(SafeFileName(u"CON"), u"_CON");
    EXPECT_EQ(SafeFileName(u"com1.tar.gz"), u"_com1.tar.gz");
    EXPECT_EQ(SafeFileName(u"console.log"), u"console.log");
    EXPECT_EQ(SafeFileName(u"..."), u"arquivo");
    EXPECT_EQ(SafeFileName(u""), u"arquivo");
    const std::u16string longName = SafeFileName(std::u16string(300, u'x') + u".pdf");
    EXPECT_EQ(longName.size(), 200u);
    EXPECT_TRUE(longName.ends_with(u"x.pdf"));
}

}  // namespace
