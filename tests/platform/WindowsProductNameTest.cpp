#include "platform/WindowsProductName.h"

#include <gtest/gtest.h>

#include <utility>

namespace {

using platform::WindowsProductName;
using platform::WindowsVersionFacts;

WindowsVersionFacts Facts(unsigned major, unsigned minor, bool workstation, bool r2 = false, bool x64 = false) {
    return {major, minor, workstation, r2, x64};
}

TEST(WindowsProductName, EachVersionHasItsWorkstationAndServerName) {
    struct Row {
        unsigned major, minor;
        const char16_t* workstation;
        const char16_t* server;
    };
    const Row table[] = {
        {5, 0, u"Windows 2000", u"Windows 2000"},
        {5, 1, u"Windows XP", u"Windows XP"},
        {6, 0, u"Windows Vista", u"Windows Server 2008"},
        {6, 1, u"Windows 7", u"Windows Server 2008 R2"},
        {6, 2, u"Windows 8", u"Windows Server 2012"},
        {6, 3, u"Windows 8.1", u"Windows Server 2012 R2"},
        {10, 0, u"Windows 10", u"Windows Server 2016"},
    };
    for (const Row& row : table) {
        for (bool x64 : {false, true}) {
            EXPECT_EQ(WindowsProductName(Facts(row.major, row.minor, true, false, x64)), row.workstation)
                << row.major << "." << row.minor;
            // The R2 mark belongs to 5.2 alone; elsewhere the version decides.
            EXPECT_EQ(WindowsProductName(Facts(row.major, row.minor, false, true, x64)), row.server)
                << row.major << "." << row.minor;
        }
    }
}

TEST(WindowsProductName, VersionFivePointTwoDependsOnEditionAndR2) {
    EXPECT_EQ(WindowsProductName(Facts(5, 2, true, false, true)), u"Windows XP");
    EXPECT_EQ(WindowsProductName(Facts(5, 2, false, false, true)), u"Windows Server 2003");
    EXPECT_EQ(WindowsProductName(Facts(5, 2, false, true, false)), u"Windows Server 2003 R2");
    // A 32-bit workstation never carried 5.2: it reads as the server it must be.
    EXPECT_EQ(WindowsProductName(Facts(5, 2, true, false, false)), u"Windows Server 2003");
}

TEST(WindowsProductName, UnknownVersionsAreJustWindows) {
    for (auto [major, minor] : {std::pair{4u, 0u}, {5u, 3u}, {6u, 4u}, {10u, 1u}, {11u, 0u}, {0u, 0u}, {5u, 100u},
                                {6u, 101u}})
        for (bool workstation : {true, false})
            EXPECT_EQ(WindowsProductName(Facts(major, minor, workstation)), u"Windows") << major << "." << minor;
}

}  // namespace
