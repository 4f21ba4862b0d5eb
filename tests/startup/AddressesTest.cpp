#include "fakes/FakePlatform.h"
#include "startup/nTarvenixClasses_U.h"
#include "support/Failure.h"

#include <gtest/gtest.h>

namespace {

using namespace TnTarvenixUtils;

constexpr std::u16string_view kTail = u"&StayConnected=false&EmptySubject=false&StartChat=false";

std::string Base64Decode(const std::u16string& text) {
    static const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    unsigned buffer = 0;
    int bits = 0;
    for (char16_t c : text) {
        if (c == u'=') break;
        buffer = (buffer << 6) | static_cast<unsigned>(alphabet.find(static_cast<char>(c)));
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((buffer >> bits) & 0xFF);
        }
    }
    return out;
}

class Addresses : public ::testing::Test {
protected:
    fakes::FakePlatform os;
};

TEST(AjustarUrlHttp, SchemeKeptOrHttpPutInFront) {
    EXPECT_EQ(AjustarUrlHttp(u"  HTTPS://Host/x \t"), u"HTTPS://Host/x");
    EXPECT_EQ(AjustarUrlHttp(u"http://h"), u"http://h");
    EXPECT_EQ(AjustarUrlHttp(u"host:8080/"), u"http://host:8080/");
    EXPECT_EQ(AjustarUrlHttp(u"ftp://h"), u"http://ftp://h");
    EXPECT_EQ(AjustarUrlHttp(u""), u"http://");
    EXPECT_EQ(AjustarUrlHttp(u"httpx://h"), u"http://httpx://h");
}

TEST_F(Addresses, ChatLoginWithAndWithoutToken) {
    os.SetArguments({u"-Url", u"help.desk/", u"-token", u"T+/=?x"});
    EXPECT_EQ(MontarUrlChat(true), u"http://help.desk//ChatWidget/Login/T+/=?x" + std::u16string(kTail));
    EXPECT_EQ(MontarUrlChat(false), MontarUrlChat(true));

    os.SetArguments({u"-Url", u"https://h", u"-IDAplicativo", u"7", u"-Name", u"Ana Souza", u"-Email", u"a@b",
                     u"-OrganizationCodeReference", u"4&2"});
    EXPECT_EQ(MontarUrlChat(false),
              u"https://h/ChatWidget/Login/7?Name=Ana Souza&Email=a@b&OrganizationCodeReference=4&2" +
                  std::u16string(kTail));

    os.SetArguments({});
    EXPECT_EQ(MontarUrlChat(false),
              u"http:///ChatWidget/Login/?Name=&Email=&OrganizationCodeReference=" + std::u16string(kTail));
}

TEST_F(Addresses, ServiceAddressNeedsTheChatParametersEvenWithAToken) {
    os.SetArguments({u"-Url", u"h", u"-token", u"TK"});
    try {
        ValidarMontarUrlTarvenixServico(u"novo");
        FAIL() << "expected a failure";
    } catch (const Failure& f) {
        EXPECT_EQ(f.Message(), u"Operação inválida");
    }
    EXPECT_TRUE(os.dialogs.messages.empty());

    os.SetArguments({u"-Url", u"h", u"-token", u"TK", u"-IDAplicativo", u"1", u"-Name", u"n", u"-Email", u"e",
                     u"-OrganizationCodeReference", u"o"});
    EXPECT_EQ(ValidarMontarUrlTarvenixServico(u"listar"), u"http://h/api/servicos/listar?token=TK");
}

TEST_F(Addresses, TokenFieldsDateAndAnsiBytes) {
    os.clock.now = {2023, 6, 5, 23, 59, 59, 0};
    os.SetArguments({u"-CodigoProduto", u"9", u"-NomeProdutoEVersao", u"Dravelt 1|2", u"-NomeUsuario", u"João"});
    const std::u16string token = ResolverToken();
    EXPECT_EQ(Base64Decode(token), "05/06/2023|9|Dravelt 1|2|||Jo\xE3o|10");
    for (char16_t c : token) EXPECT_LT(c, 128);
    EXPECT_EQ(token.size() % 4, 0u);
}

TEST_F(Addresses, ReadyMadeTokenIsPassedThrough) {
    os.SetArguments({u"-token", u"a+b/c=="});
    EXPECT_EQ(ResolverToken(), u"a+b/c==");
}

TEST_F(Addresses, TarvenixEncodePadsToFour) {
    os.clock.now = {2023, 12, 8, 0, 0, 0, 0};
    // "08/12/2023|" is 11 bytes; with "" 11 -> one "=", with "a" 12 -> none.
    EXPECT_EQ(TarvenixEncode(u""), u"MDgvMTIvMjAyM3w=");
    EXPECT_EQ(TarvenixEncode(u"a"), u"MDgvMTIvMjAyM3xh");
    EXPECT_EQ(TarvenixEncode(u"ab"), u"MDgvMTIvMjAyM3xhYg==");
}

TEST(PreencherAEsquerda, PadsOnlyWhileTheFillerFits) {
    EXPECT_EQ(PreencherAEsquerda(u"2023", 4, u"0"), u"2023");
    EXPECT_EQ(PreencherAEsquerda(u"7", 4, u"0"), u"0007");
    EXPECT_EQ(PreencherAEsquerda(u"123", 2, u"0"), u"123");
    EXPECT_EQ(PreencherAEsquerda(u"7", 4, u"ab"), u"ab7");
    EXPECT_EQ(PreencherAEsquerda(u"7", 4, u""), u"7");
    EXPECT_EQ(PreencherAEsquerda(u"", -3, u"0"), u"");
}

TEST_F(Addresses, DateTextIsTheSystemsTextSplitAtSlashes) {
    const platform::LocalDateTime june5{2023, 6, 5, 0, 0, 0, 0};
    os.locale.written = u"5/6/2023";
    EXPECT_EQ(FormatarData(june5), u"05/06/2023");
    os.locale.written = u"6/5/2023";
    EXPECT_EQ(FormatarData(june5), u"06/05/2023");
    os.locale.written = u"05/06/23";
    EXPECT_EQ(FormatarData(june5), u"05/06/0023");
    os.locale.written = u"2023/06/05";
    EXPECT_EQ(FormatarData(june5), u"2023/06/0005");
}

TEST_F(Addresses, DateTextWithoutThreeNumbersAtSlashesKeepsTheFormatsOrder) {
    using platform::DatePart;
    const platform::LocalDateTime june5{2023, 6, 5, 0, 0, 0, 0};
    os.locale.written = u"05.06.2023";
    EXPECT_EQ(FormatarData(june5), u"05/06/2023");
    os.locale.written = u"2023-06-05";
    os.locale.order = {DatePart::Year, DatePart::Month, DatePart::Day};
    EXPECT_EQ(FormatarData(june5), u"2023/06/05");
    // Month names, also between slashes, become the month's number.
    os.locale.written = u"5 jun, 2023";
    os.locale.order = {DatePart::Day, DatePart::Month, DatePart::Year};
    EXPECT_EQ(FormatarData(june5), u"05/06/2023");
    os.locale.written = u"Jun/05/2023";
    os.locale.order = {DatePart::Month, DatePart::Day, DatePart::Year};
    EXPECT_EQ(FormatarData(june5), u"06/05/2023");
    os.locale.written = u"05/06-2023";
    os.locale.order = {DatePart::Day, DatePart::Month, DatePart::Year};
    EXPECT_EQ(FormatarData(june5), u"05/06/2023");
}

}  // namespace
