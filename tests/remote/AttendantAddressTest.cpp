#include "AttackPayloads.h"
#include "RemoteFixture.h"
#include "remote/AttendantAddress.h"
#include "remote/RemoteAttendant.h"

namespace {

using namespace remote_test;

TEST(AttendantAddress, HostsWithAnOptionalPortPass) {
    for (const std::u16string address :
         {u"10.0.0.5", u"10.0.0.5:5500", u"0.0.0.0:1", u"255.255.255.255:65535", u"fe80::1", u"::1", u"::",
          u"1:2:3:4:5:6:7:8", u"::ffff:192.0.2.1", u"[fe80::1]", u"[fe80::1]:5500", u"localhost",
          u"atendente-01.Example.com:5900", u"a1.b2"})
        EXPECT_TRUE(IsAttendantAddress(address)) << ToUtf8(address);
    const std::u16string label63(63, u'a');
    EXPECT_TRUE(IsAttendantAddress(label63 + u"." + label63 + u"." + label63 + u"." + std::u16string(61, u'b')));
}

TEST(AttendantAddress, EverythingElseIsRefused) {
    for (const std::u16string address :
         {u"", u"10.0.0.5:", u"10.0.0.5:0", u"10.0.0.5:65536", u"10.0.0.5:05500", u"10.0.0.5:+1", u"10.0.0.256",
          u"010.0.0.1", u"1.2.3", u"1.2.3.4.5", u"999.1.1.1", u"fe80::1]", u"[fe80::1", u"[fe80::1]:",
          u"[fe80::1]x", u"[10.0.0.5]", u"1:2:3:4:5:6:7:8:9", u"1::2::3", u"1:2:3:4:5:6:7::8", u":1::",
          u"12345::1", u"fe80::1%eth0", u"1.2.3.4::1", u"-host", u"host-", u"a..b", u"a.b.", u".a", u"host_name",
          u"ação.br", u"a b", u"10.0.0.5:5500:1", u"host:5500:1"})
        EXPECT_FALSE(IsAttendantAddress(address)) << ToUtf8(address);
    EXPECT_FALSE(IsAttendantAddress(std::u16string(64, u'a') + u".com"));
    EXPECT_FALSE(IsAttendantAddress(std::u16string(250, u'a') + u".com"));
}

class Refusal : public Remote {
protected:
    std::vector<std::u16string> scripts;
    RunPageScript run = [this](const std::u16string& s) { scripts.push_back(s); };
    const std::u16string log = u"temp" + kSep + u"TarvenixLog.txt";
    void SetUp() override {
        os.files.files[ProgramFolder() + u"logar_Tarvenix"] = "";
        // The tools are missing: any search for them would prompt.
        os.windows.windows[u"AnyDesk"] = 7;
    }
};

TEST_F(Refusal, APayloadIsRefusedBeforeAToolIsEvenLookedFor) {
    const auto payloads = AttackPayloads(u"touch /tmp/x");
    for (const auto& payload : payloads) {
        ConectarAtendenteVNC({u"ConnectRemoteAttendantListening", payload}, run);
        ConectarAtendenteVNC({u"ConnectRemoteAttendantListening", payload, u"tight"}, run);
        ConectarAtendenteVNC({u"ConnectRemoteAttendantListening", payload, u"real"}, run);
    }
    EXPECT_TRUE(os.processes.runs.empty());
    EXPECT_TRUE(os.dialogs.prompts.empty());
    EXPECT_TRUE(scripts.empty());
    ASSERT_EQ(os.dialogs.shown.size(), 3 * payloads.size());
    const auto& box = os.dialogs.shown.front();
    EXPECT_EQ(box.text, u"Não foi possível iniciar o acesso remoto: o endereço do atendente não é válido.");
    EXPECT_EQ(box.kind, platform::DialogKind::Warning);
    EXPECT_EQ(box.buttons, std::vector{platform::DialogButton::OK});

    // One log line per refusal, each on a line of its own and cut short.
    const auto lines = SplitLines(os.codePage.FromAnsi(FileBytes(log)));
    ASSERT_EQ(lines.size(), 3 * payloads.size());
    EXPECT_EQ(lines[0], u"05/06/2023 13:05:09 - Acesso remoto recusado, endereço do atendente inválido: "
                        u"\"127.0.0.1:1 & touch /tmp/x\"");
    EXPECT_NE(lines[3 * 12].find(u"\\u0000&touch"), std::u16string::npos);
    for (const auto& line : lines) EXPECT_LT(line.size(), 300u);
}

TEST_F(Refusal, AnyDeskHasNoUseForTheAddressAndConnectorsCheckTheirOwnValues) {
    Install(remote_tools::AnyDeskFolders().front(), remote_tools::AnyDeskExecutable());
    ConectarAtendenteVNC({u"ConnectRemoteAttendantListening", u"", u"anydesk"}, run);
    EXPECT_EQ(os.processes.runs.size(), 1u);
    EXPECT_TRUE(os.dialogs.shown.empty());

    // Called directly, the connectors refuse a value that would reach a line.
    TnTarvenixUtils::ConectarVNC(u"tight", u"ip=10.0.0.5;x=$(reboot)");
    TnTarvenixUtils::ConectarVNC(u"real", u"IP=1.2.3.4 -x");
    EXPECT_EQ(os.processes.runs.size(), 1u);
    EXPECT_EQ(os.dialogs.shown.size(), 2u);
}

}  // namespace
