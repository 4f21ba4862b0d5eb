// The tools' fixed values on Windows, written out here as the tools' own
// documentation of this system gives them, so that a slip in the code's
// constants cannot hide behind a test that reads the same constants.

#include "RemoteFixture.h"
#include "remote/AnyDeskConnector.h"
#include "remote/VncConnectors.h"

namespace {

using namespace remote_test;

struct Listed : TnTarvenixVNCRealVNC {
    TStringArray ConnectFor(std::u16string parameters) {
        FParameters = std::move(parameters);
        return PegarComandosConectar();
    }
};

TEST_F(Remote, WindowsFoldersNamesAndCacheFilesAreTheDocumentedOnes) {
    TnTarvenixVNCTightVNC tight;
    TnTarvenixVNCRealVNC real;
    TnTarvenixAnyDesk anydesk;
    EXPECT_EQ(tight.PegarPathsPossiveis(),
              (TStringArray{u"c:\\Program Files\\TightVNC\\", u"c:\\Program Files (x86)\\TightVNC\\", u"d:\\TightVNC\\",
                            u"d:\\Arquivos de Programas\\TightVNC\\"}));
    EXPECT_EQ(real.PegarPathsPossiveis(),
              (TStringArray{u"c:\\Program Files\\RealVNC\\VNC Server\\", u"c:\\Program Files (x86)\\RealVNC\\VNC Server\\",
                            u"c:\\Arquivos de Programas\\RealVNC\\VNC Server\\",
                            u"c:\\Arquivos de Programas (x86)\\RealVNC\\VNC Server\\", u"d:\\RealVNC\\VNC Server\\",
                            u"d:\\Program Files\\RealVNC\\VNC Server\\"}));
    EXPECT_EQ(anydesk.PegarPathsPossiveis(),
              (TStringArray{u"c:\\Program Files (x86)\\AnyDesk\\", u"c:\\Program Files\\AnyDesk\\", u"d:\\AnyDesk\\",
                            u"c:\\Arquivos de Programas\\AnyDesk\\", u"c:\\Arquivos de Programas (x86)\\AnyDesk\\",
                            u"\\app\\"}));

    EXPECT_EQ(tight.PegarNome(), u"Tight VNC");
    EXPECT_EQ(tight.PegarExeObrigatorio(), u"tvnserver.exe");
    EXPECT_EQ(tight.PegarNomeArqCache(), u"pathtightvnc.txt");
    EXPECT_EQ(real.PegarNome(), u"Real VNC");
    EXPECT_EQ(real.PegarExeObrigatorio(), u"vncserver.exe");
    EXPECT_EQ(real.PegarNomeArqCache(), u"pathvnc.txt");
    EXPECT_EQ(anydesk.PegarNome(), u"AnyDesk");
    EXPECT_EQ(anydesk.PegarExeObrigatorio(), u"AnyDesk.exe");
    EXPECT_EQ(anydesk.PegarNomeArqCache(), u"pathanydesk.txt");
}

TEST_F(Remote, WindowsCommandLinesAreTheDocumentedOnes) {
    EXPECT_EQ(TnTarvenixVNCTightVNC().PegarComandosConectar(),
              (TStringArray{u"tvnserver.exe -reinstall -silent", u"tvnserver.exe -start -silent",
                            u"tvnserver.exe -controlservice -connect {ip}"}));
    EXPECT_EQ(TnTarvenixVNCTightVNC().PegarComandosDesconectar(),
              TStringArray{u"tvnserver.exe -controlservice -disconnectall -silent"});
    EXPECT_EQ(Listed().ConnectFor(u"ip=10.0.0.5:5500"), TStringArray{u"vncserver.exe -connect 10.0.0.5::5500"});
    EXPECT_EQ(TnTarvenixVNCRealVNC().PegarComandosDesconectar(), TStringArray{u"vncserver.exe -disconnect"});

    // What actually runs, in the tools' folders.
    Install(u"c:\\Program Files\\TightVNC\\", u"tvnserver.exe");
    Install(u"d:\\RealVNC\\VNC Server\\", u"vncserver.exe");
    Install(u"d:\\AnyDesk\\", u"AnyDesk.exe");
    os.windows.windows[u"AnyDesk"] = 1;
    TnTarvenixUtils::ConectarVNC(u"tight", u"ip=fe80::1");
    TnTarvenixUtils::ConectarVNC(u"real", u"ip=fe80::1");
    TnTarvenixUtils::DesconectarVNC(u"real", u"");
    TnTarvenixUtils::CriarObjVNC(u"anydesk")->Conectar(u"");
    EXPECT_EQ(RunLines(), (std::vector<std::u16string>{
                              u"tvnserver.exe -reinstall -silent", u"tvnserver.exe -start -silent",
                              u"tvnserver.exe -controlservice -connect fe80::1", u"vncserver.exe -iconnect fe80:::1",
                              u"vncserver.exe -disconnect",
                              // The id file's path is quoted: a program folder may hold blanks.
                              u"AnyDesk.exe  --get-id  > \"\\app\\temp\\a.txt\""}));
}

}  // namespace
