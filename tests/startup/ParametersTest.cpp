#include "fakes/FakePlatform.h"
#include "startup/nTarvenixClasses_U.h"

#include <gtest/gtest.h>

namespace {

using P = TnParserParameters;

class Parameters : public ::testing::Test {
protected:
    fakes::FakePlatform os;
};

TEST_F(Parameters, NamesMatchWithoutAsciiCaseAndOnlyWithOneDash) {
    os.SetArguments({u"-URL", u"x"});
    EXPECT_EQ(P::GetValue(u"Url", u"d"), u"x");
    os.SetArguments({u"-url", u"x"});
    EXPECT_EQ(P::GetValue(u"Url", u"d"), u"x");
    os.SetArguments({u"--Url", u"x", u"/Url", u"y", u"-Url=x", u"z"});
    EXPECT_EQ(P::GetValue(u"Url", u"d"), u"d");
    // Only ASCII letters fold: an accented capital is another name.
    os.SetArguments({u"-NÃO", u"x"});
    EXPECT_EQ(P::GetValue(u"não", u"d"), u"d");
}

TEST_F(Parameters, ValueIsTheNextArgumentUnlessItBeginsWithADash) {
    os.SetArguments({u"-Name", u"-Email", u"x"});
    EXPECT_EQ(P::GetValue(u"Name", u"d"), u"d");
    EXPECT_EQ(P::GetValue(u"Email", u"d"), u"x");

    os.SetArguments({u"-NroSegundosExpira", u"-5"});
    EXPECT_EQ(P::GetValue(u"NroSegundosExpira", u"10"), u"10");

    os.SetArguments({u"x", u"-Name"});
    EXPECT_EQ(P::GetValue(u"Name", u"d"), u"d");
}

TEST_F(Parameters, FirstOccurrenceWithAValueWins) {
    os.SetArguments({u"-Name", u"Ana", u"-Name", u"Bia"});
    EXPECT_EQ(P::GetValue(u"Name", u""), u"Ana");
    // A name without value is passed over and a later one still counts.
    os.SetArguments({u"-Name", u"-x", u"-Name", u"Bia"});
    EXPECT_EQ(P::GetValue(u"Name", u""), u"Bia");
}

TEST_F(Parameters, ValueIsTakenUnchanged) {
    const std::u16string awkward = u"  Ana \"Souza\" | a=b; ç  ";
    os.SetArguments({u"-Name", awkward});
    EXPECT_EQ(P::GetValue(u"Name", u""), awkward);

    const std::u16string huge(1 << 20, u'é');
    os.SetArguments({u"-Name", huge});
    EXPECT_EQ(P::GetValue(u"Name", u""), huge);
}

TEST_F(Parameters, ExecutablePathTakesPartInTheScan) {
    os.process.arguments = {u"-Url", u"x"};
    EXPECT_EQ(P::GetValue(u"Url", u""), u"x");
}

TEST_F(Parameters, NoArgumentsGiveDefaults) {
    os.process.arguments.clear();
    EXPECT_EQ(P::GetValue(u"Url", u"dflt"), u"dflt");
    EXPECT_FALSE(P::TemValores(u"Url"));
    EXPECT_TRUE(P::TemValores(u""));
    EXPECT_EQ(P::GetValueInteger(u"VersaoIEMinima", 11), 11);
}

TEST_F(Parameters, TemValoresNeedsEveryNameNonEmpty) {
    os.SetArguments({u"-Url", u"u", u"-Name", u"n", u"-Email", u""});
    EXPECT_TRUE(P::TemValores(u"Url;Name"));
    EXPECT_FALSE(P::TemValores(u"Url;Name;Email"));
    EXPECT_FALSE(P::TemValores(u"Url;IDAplicativo"));
    // An empty name in the list looks up "-": absent.
    EXPECT_FALSE(P::TemValores(u"Url;"));
}

TEST(IntegerText, DecimalHexadecimalAndTheirLimits) {
    EXPECT_EQ(ParseIntegerText(u"42"), 42);
    EXPECT_EQ(ParseIntegerText(u"   -7"), -7);
    EXPECT_EQ(ParseIntegerText(u"+7"), 7);
    EXPECT_EQ(ParseIntegerText(u"$1F"), 31);
    EXPECT_EQ(ParseIntegerText(u"x1f"), 31);
    EXPECT_EQ(ParseIntegerText(u"0X10"), 16);
    EXPECT_EQ(ParseIntegerText(u"-$10"), -16);
    EXPECT_EQ(ParseIntegerText(u"2147483647"), 2147483647);
    EXPECT_EQ(ParseIntegerText(u"-2147483648"), -2147483647 - 1);

    for (const char16_t* bad : {u"", u" ", u"-", u"$", u"0x", u"12 ", u"1.0", u"abc", u"\t1", u"2147483648",
                                u"-2147483649", u"$80000000", u"99999999999999999999", u"1e3", u"0x1G"})
        EXPECT_FALSE(ParseIntegerText(bad).has_value()) << std::string(bad, bad + std::char_traits<char16_t>::length(bad));
}

TEST_F(Parameters, GetValueIntegerFallsBackOnAnythingElse) {
    os.SetArguments({u"-a", u"12", u"-b", u"1x", u"-c", u"$ff"});
    EXPECT_EQ(P::GetValueInteger(u"a", 5), 12);
    EXPECT_EQ(P::GetValueInteger(u"b", 5), 5);
    EXPECT_EQ(P::GetValueInteger(u"c", 5), 255);
    EXPECT_EQ(P::GetValueInteger(u"missing", 5), 5);
}

}  // namespace
