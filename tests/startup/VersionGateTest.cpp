#include "fakes/FakePlatform.h"
#include "startup/nTarvenixClasses_U.h"
#include "support/Failure.h"

#include <gtest/gtest.h>

namespace {

using namespace TnTarvenixUtils;

class VersionGate : public ::testing::Test {
protected:
    fakes::FakePlatform os;
    void Installed(std::u16string svcVersion, std::u16string version) {
        os.registry.values.clear();
        if (!svcVersion.empty()) os.registry.values[u"svcVersion"] = {svcVersion};
        if (!version.empty()) os.registry.values[u"Version"] = {version};
    }
};

TEST_F(VersionGate, InstalledVersionPrefersSvcVersionThenVersion) {
    Installed(u"11.0.19041.1", u"9.11.19041.0");
    EXPECT_EQ(GetIEVersion(), u"11.0.19041.1");
    EXPECT_EQ(GetIEVersionPrincipal(), 11);
    EXPECT_EQ(os.registry.openedPath, u"Software\\Microsoft\\Internet Explorer");

    Installed(u" \t ", u" 9.0.8112.16421 ");
    EXPECT_EQ(GetIEVersion(), u"9.0.8112.16421");
    EXPECT_EQ(GetIEVersionPrincipal(), 9);

    Installed(u"", u"10");
    EXPECT_EQ(GetIEVersionPrincipal(), 10);

    Installed(u"", u"");
    EXPECT_EQ(GetIEVersion(), u"0");
    os.registry.keyExists = false;
    EXPECT_EQ(GetIEVersion(), u"0");
    EXPECT_EQ(os.registry.openKeys, 0);
}

TEST_F(VersionGate, MajorVersionIsZeroForAnythingNotAnIntegerText) {
    for (const char16_t* text : {u"abc", u".11", u"x.1", u"11a.0"}) {
        Installed(text, u"");
        EXPECT_EQ(GetIEVersionPrincipal(), 0) ;
    }
}

TEST_F(VersionGate, ValueOfAnotherTypeFailsOnlyThePrompt) {
    os.registry.values[u"svcVersion"] = {u"", false};
    EXPECT_EQ(GetIEVersionPrincipal(), 0);
    EXPECT_EQ(os.registry.openKeys, 0);
    EXPECT_TRUE(EhNavegadorInternetExplorerVersaoInferior());
    try {
        PromptIEVersaoInferior();
        FAIL() << "expected a failure";
    } catch (const Failure& f) {
        EXPECT_EQ(f.Message(), u"Invalid data type for 'svcVersion'");
    }
    EXPECT_TRUE(os.dialogs.shown.empty());
    EXPECT_EQ(os.registry.openKeys, 0);
}

TEST_F(VersionGate, MinimumFromParameterOrEleven) {
    EXPECT_EQ(GetVersaoIEMinima(), 11);
    os.SetArguments({u"-VersaoIEMinima", u"9"});
    Installed(u"9.0", u"");
    EXPECT_EQ(GetVersaoIEMinima(), 9);
    EXPECT_FALSE(EhNavegadorInternetExplorerVersaoInferior());

    os.SetArguments({u"-VersaoIEMinima", u"0"});
    Installed(u"", u"");
    EXPECT_FALSE(EhNavegadorInternetExplorerVersaoInferior());

    os.SetArguments({u"-VersaoIEMinima", u"abc"});
    try {
        GetVersaoIEMinima();
        FAIL() << "expected a failure";
    } catch (const Failure& f) {
        EXPECT_EQ(f.Message(), u"'abc' is not a valid integer value");
    }
}

TEST_F(VersionGate, PromptNamesTheInstalledVersionOnlyWhenThereIsOne) {
    Installed(u"", u"9.0.8112.16421");
    os.dialogs.answers = {platform::ResultYes};
    EXPECT_EQ(PromptIEVersaoInferior(), platform::ResultYes);
    ASSERT_EQ(os.dialogs.shown.size(), 1u);
    const auto& dialog = os.dialogs.shown[0];
    EXPECT_EQ(dialog.text,
              u"Este aplicativo não pode ser executado pois necessita do software Internet Explorer (versão 11 ou "
              u"superior).\r\nDeseja abrir o atendimento diretamente em seu navegador padrão?\r\nVersão IE atual: "
              u"9.0.8112.16421");
    EXPECT_EQ(dialog.kind, platform::DialogKind::Warning);
    EXPECT_EQ(dialog.buttons, (std::vector{platform::DialogButton::Yes, platform::DialogButton::No}));

    Installed(u"", u"");
    PromptIEVersaoInferior();
    const std::u16string& text = os.dialogs.shown.back().text;
    const std::u16string end = u"padrão?\r\n";
    EXPECT_EQ(text.substr(text.size() - end.size()), end);
}

}  // namespace
