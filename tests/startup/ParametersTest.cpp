#include "fakes/FakePlatform.h"
#include "startup/nTarvenixClasses_U.h"

#include <gtest/gtest.h>

namespace {

using P = TnParserParameters;

class Parameters : public ::testing::Test {
protected:
    fakes::FakePlatform os;
};

TEST_F(Parameters, NamesMatchWithoutAsciiCaseAndOnlyWithTheDash) {
    os.SetArguments({u"-URL", u"x"});
    EXPECT_EQ(P::GetValue(u"Url", u"d"), u"x");
    os.SetArguments({u"-url", u"x"});
    EXPECT_EQ(P::GetValue(u"Url", u"d"), u"x");
    os.SetArguments({u"--Url", u"x", u"/Url", u"y", u"-Url=x"});
    EXPECT_EQ(P::GetValue(u"Url", u"d"), u"d");
}

}  // namespace
