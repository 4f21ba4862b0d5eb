#include "RemoteFixture.h"
#include "remote/AnyDeskConnector.h"
#include "remote/RemoteAttendant.h"

namespace {

using namespace remote_test;

class Attendant : public Remote {
protected:
    std::vector<std::u16string> scripts;
    RunPageScript run = [this](const std::u16string& s) { scripts.push_back(s); };
    const std::u16string notice = u"notifyEvent(\"Solicitação de conexão remota enviada ao atendente\", false);";

    void SetUp() override {
        for (const auto& f : {remote_tools::RealVncFolders().front(), remote_tools::TightVncFolders().front()})
            os.files.directories.insert(f);
        Install(remote_tools::RealVncFolders().front(), remote_tools::RealVncExecutable());
        Install(remote_tools::TightVncFolders().front(), remote_tools::TightVncExecutable());
        Install(remote_tools::AnyDeskFolders().front(), remote_tools::AnyDeskExecutable());
        os.windows.windows[u"AnyDesk"] = 7;
    }
    void AnyDeskAnswers(std::string idFileBytes) {
        os.processes.respond = [this, idFileBytes](const std::u16string&, const std::u16string&) {
            os.files.files[ProgramFolder() + u"temp" + kSep + u"a.txt"] = idFileBytes;
            return std::u16string();
        };
    }
};

TEST_F(Attendant, TwoFieldsConnectRealVncSilently) {
    ConectarAtendenteVNC({u"ConnectRemoteAttendantListening", u"10.0.0.5:5500"}, run);
    EXPECT_EQ(RunLines(), std::vector{remote_tools::RealVncIConnectLine(u"10.0.0.5::5500")});
    EXPECT_TRUE(scripts.empty());
}

TEST_F(Attendant, ThirdFieldChoosesTheToolAndLaterFieldsAreIgnored) {
    ConectarAtendenteVNC({u"ConnectRemoteAttendantListening", u"10.0.0.9", u"tight", u"real"}, run);
    ASSERT_EQ(RunLines().size(), remote_tools::TightVncConnectLines().size());
    EXPECT_NE(RunLines().back().find(u"10.0.0.9"), std::u16string::npos);
    EXPECT_TRUE(scripts.empty());  // TightVNC reports nothing
}

TEST_F(Attendant, UnknownToolOrMissingAddressIsIgnored) {
    ConectarAtendenteVNC({u"ConnectRemoteAttendantListening", u"10.0.0.5", u"Real"}, run);
    ConectarAtendenteVNC({u"ConnectRemoteAttendantListening"}, run);
    ConectarAtendenteVNC({}, run);
    EXPECT_TRUE(os.processes.runs.empty());
    EXPECT_TRUE(os.dialogs.shown.empty());
    EXPECT_TRUE(scripts.empty());
}

TEST_F(Attendant, RealVncReportRunsBothScriptsInOrder) {
    ConectarAtendenteVNC({u"ConnectRemoteAttendantListening", u"10.0.0.5", u"real"}, run);
    EXPECT_EQ(scripts, (std::vector<std::u16string>{
                           notice, u"sendInteractionToAttendant(\"Cliente tentando conectar via VNC...\")"}));
}

TEST_F(Attendant, AnyDeskIdReachesTheAttendantAsTextNeverAsScript) {
    AnyDeskAnswers("123 456 789\r\n");
    ConectarAtendenteVNC({u"ConnectRemoteAttendantListening", u"", u"anydesk"}, run);
    ASSERT_EQ(scripts.size(), 2u);
    EXPECT_EQ(scripts[1],
              u"sendInteractionToAttendant(\"Cliente solicitou conexão remota via AnyDesk. Endereço: 123 456 789\")");

    scripts.clear();
    AnyDeskAnswers("1\"); alert(\"x\\\r\n");
    ConectarAtendenteVNC({u"ConnectRemoteAttendantListening", u"", u"anydesk"}, run);
    ASSERT_EQ(scripts.size(), 2u);
    EXPECT_EQ(scripts[1],
              u"sendInteractionToAttendant(\"Cliente solicitou conexão remota via AnyDesk. Endereço: "
              u"1\\\"); alert(\\\"x\\\\\")");
}

TEST_F(Attendant, ConnectorFailureStillReachesTheCaller) {
    os.windows.windows.clear();
    EXPECT_THROW(ConectarAtendenteVNC({u"ConnectRemoteAttendantListening", u"", u"anydesk"}, run), Failure);
    EXPECT_TRUE(scripts.empty());
}

}  // namespace
