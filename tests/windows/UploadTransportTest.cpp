#include "windows/UploadTransport.h"

#include "fakes/FakePlatform.h"
#include "support/Failure.h"
#include "support/TextUtils.h"
#include "windows/LoopbackServer.h"
#include "fakes/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <curl/curl.h>

#include <chrono>
#include <thread>

using testing::HasSubstr;
using testing::Not;
using testing_support::LoopbackServer;
using testing_support::Reply;
using fakes::TempFolder;
using fakes::U16;

namespace {

std::u16string FailureOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const Failure& failure) {
        return failure.Message();
    }
    ADD_FAILURE() << "no failure";
    return {};
}

struct SplitRequest {
    std::string head;  // request line and headers, without the empty line
    std::string body;
};

SplitRequest Split(const std::string& request) {
    const auto end = request.find("\r\n\r\n");
    return {request.substr(0, end), request.substr(end + 4)};
}

std::string Header(const std::string& head, const std::string& name) {
    const auto at = head.find("\r\n" + name + ": ");
    if (at == std::string::npos) return {};
    const auto start = at + name.size() + 4;
    return head.substr(start, head.find("\r\n", start) - start);
}

// Keeps the settings of the process as they were.
class TransportTest : public testing::Test {
protected:
    void SetUp() override { saved_ = CurrentUploadTransportSettings(); }
    void TearDown() override { CurrentUploadTransportSettings() = saved_; }
    fakes::FakePlatform platform_;
    TempFolder folder_;

private:
    UploadTransportSettings saved_;
};

TEST_F(TransportTest, SendsOnePartByteForByteAndNoHeadersOfItsOwn) {
    // Bytes that look like framing must travel unchanged.
    const std::string content = std::string("a\r\n--b\0\xff\r\n\r\n", 12) + std::string(200000, 'x');
    const auto file = folder_.Write("relatório ção.bin", content);
    LoopbackServer server(Reply("HTTP/1.1 200 OK", "{}"));

    EXPECT_EQ(TnTarvenixUtils::SendPostData(FromUtf8(server.Url()), U16(file)), u"{}");

    ASSERT_EQ(server.Requests().size(), 1u);
    const auto [head, body] = Split(server.Requests()[0]);
    EXPECT_TRUE(head.starts_with("POST /arquivo/upload HTTP/1.1\r\n")) << head;
    const std::string type = Header(head, "Content-Type");
    ASSERT_TRUE(type.starts_with("multipart/form-data; boundary=")) << type;
    const std::string boundary = type.substr(30);
    EXPECT_EQ(content.find(boundary), std::string::npos);
    const std::string expected = "--" + boundary + "\r\n" +
                                 "Content-Disposition: form-data; name=\"File1\"; filename=\"relatório ção.bin\"\r\n" +
                                 "Content-Type: application/octet-stream\r\n\r\n" + content + "\r\n--" + boundary +
                                 "--\r\n";
    EXPECT_EQ(body, expected);
    EXPECT_EQ(Header(head, "Content-Length"), std::to_string(expected.size()));
    // Only the client's unavoidable defaults besides our two headers.
    EXPECT_EQ(Header(head, "Expect"), "");
    EXPECT_EQ(Header(head, "User-Agent"), "");
    size_t lines = 0;
    for (size_t at = head.find("\r\n"); at != std::string::npos; at = head.find("\r\n", at + 2)) ++lines;
    EXPECT_EQ(lines, 4u) << head;  // Host, Accept, Content-Length, Content-Type
}

TEST_F(TransportTest, ABoundaryFoundInTheFileIsNeverCompletedAndAnotherIsTried) {
    // The colliding boundary straddles two reads of the file.
    const std::string collide = "BOUNDARY-ONE";
    const std::string content = std::string(65536 - 5, 'z') + collide + std::string(1000, 'y');
    const auto file = folder_.Write("a.bin", content);
    std::vector<std::string> boundaries{collide, "BOUNDARY-TWO"};
    size_t made = 0;
    CurrentUploadTransportSettings().newBoundary = [&] { return boundaries.at(made++); };
    LoopbackServer server(Reply("HTTP/1.1 200 OK", "ok"));

    EXPECT_EQ(TnTarvenixUtils::SendPostData(FromUtf8(server.Url()), U16(file)), u"ok");
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_LT(requests[0].size(), content.size());  // cut off before its end
    EXPECT_THAT(requests[1], HasSubstr("boundary=BOUNDARY-TWO"));
    EXPECT_THAT(requests[1], HasSubstr(content + "\r\n--BOUNDARY-TWO--\r\n"));

    // A boundary that is always in the file ends in a failure, not a broken body.
    boundaries = {collide, collide, collide};
    made = 0;
    EXPECT_FALSE(FailureOf([&] { TnTarvenixUtils::SendPostData(FromUtf8(server.Url()), U16(file)); }).empty());
}

TEST_F(TransportTest, EmptyFileGivesAPartWithoutContent) {
    const auto file = folder_.Write("vazio.txt", "");
    LoopbackServer server(Reply("HTTP/1.1 200 OK", ""));
    EXPECT_EQ(TnTarvenixUtils::SendPostData(FromUtf8(server.Url()), U16(file)), u"");
    const auto [head, body] = Split(server.Requests().at(0));
    const std::string boundary = Header(head, "Content-Type").substr(30);
    EXPECT_THAT(body, HasSubstr("application/octet-stream\r\n\r\n\r\n--" + boundary + "--\r\n"));
}

TEST_F(TransportTest, QuotesAndLineBreaksInTheNameCannotBreakThePartHeader) {
    EXPECT_EQ(multipart::FileNameParameter(u"/x/a\"b\r\nX-Evil: 1.txt"), "a%22b%0D%0AX-Evil: 1.txt");
    EXPECT_EQ(multipart::FileNameParameter(u"/pasta/foto ç.jpg"), "foto \xc3\xa7.jpg");
}

TEST_F(TransportTest, ReplyStatusDecidesAndRedirectsAreNotFollowed) {
    const auto file = folder_.Write("a.txt", "abc");
    {
        LoopbackServer server(Reply("HTTP/1.1 201 Created", "criado \xe7"));
        // Byte per character through the code page (the fake's is Latin-1).
        EXPECT_EQ(TnTarvenixUtils::SendPostData(FromUtf8(server.Url()), U16(file)), u"criado \u00e7");
    }
    for (const std::string status :
         {"HTTP/1.1 302 Found", "HTTP/1.1 401 Unauthorized", "HTTP/1.1 500 Internal Server Error"}) {
        LoopbackServer server(Reply(status, "corpo", "Location: /outro\r\nWWW-Authenticate: Basic realm=\"x\"\r\n"));
        EXPECT_EQ(FailureOf([&] { TnTarvenixUtils::SendPostData(FromUtf8(server.Url()), U16(file)); }),
                  FromUtf8(status));
        EXPECT_EQ(server.Connections(), 1) << status;
    }
}

TEST_F(TransportTest, FileThatCannotBeOpenedFailsBeforeAnyConnection) {
    LoopbackServer server(Reply("HTTP/1.1 200 OK", ""));
    const auto missing = folder_.Dir() / "nao-existe.jpg";
    EXPECT_THAT(ToUtf8(FailureOf([&] { TnTarvenixUtils::SendPostData(FromUtf8(server.Url()), U16(missing)); })),
                HasSubstr("Não foi possível abrir o arquivo"));
    EXPECT_THAT(ToUtf8(FailureOf([&] { TnTarvenixUtils::SendPostData(FromUtf8(server.Url()), U16(folder_.Dir())); })),
                HasSubstr("Não foi possível abrir o arquivo"));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(server.Connections(), 0);
}

// The user reads why in Portuguese; support staff find the library's own
// words in the action log.
TEST_F(TransportTest, EveryFailureOfTheTransportReadsInPortugueseAndItsOwnTextIsLogged) {
    platform_.files.files[u"/app/logar_Tarvenix"] = "";
    const auto file = folder_.Write("a.txt", "abc");
    const auto post = [&](const std::u16string& url) {
        return ToUtf8(FailureOf([&] { TnTarvenixUtils::SendPostData(url, U16(file)); }));
    };
    int closedPort;
    {
        LoopbackServer gone("");
        closedPort = gone.Port();
    }
    EXPECT_EQ(post(u"http://127.0.0.1:" + IntToText(closedPort) + u"/arquivo/upload"),
              "Não foi possível conectar ao servidor.");
    EXPECT_EQ(post(u"nada://:x"), "O endereço do serviço não é válido.");
    LoopbackServer mute("");
    EXPECT_EQ(post(FromUtf8(mute.Url())), "O servidor não enviou resposta.");
    // A server that speaks plain HTTP where TLS is expected.
    httplib::Server plain;
    const int plainPort = plain.bind_to_any_port("127.0.0.1");
    std::thread serving([&] { plain.listen_after_bind(); });
    EXPECT_EQ(post(u"https://127.0.0.1:" + IntToText(plainPort) + u"/arquivo/upload"),
              "Não foi possível estabelecer uma conexão segura com o servidor.");
    plain.stop();
    serving.join();
    // Classes that need a network this machine's tests do not reach.
    EXPECT_EQ(ToUtf8(TransportFailureText(CURLE_COULDNT_RESOLVE_HOST)), "O endereço do servidor não foi encontrado.");
    EXPECT_EQ(ToUtf8(TransportFailureText(CURLE_OPERATION_TIMEDOUT)), "O servidor demorou demais para responder.");

    CurrentUploadTransportSettings().stallTimeoutSeconds = 1;
    LoopbackServer silent(Reply("HTTP/1.1 200 OK", ""), /*hold=*/true);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(post(FromUtf8(silent.Url())), "Nenhum dado foi transferido no último segundo.");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));

    const std::string log = platform_.files.files[u"temp" + std::u16string(1, platform::kPathSeparator) + u"TarvenixLog.txt"];
    EXPECT_THAT(log, HasSubstr("Falha no envio para \"http://127.0.0.1:" + std::to_string(closedPort)));
    EXPECT_THAT(log, HasSubstr("Empty reply from server"));
}

TEST_F(TransportTest, AnIndependentParserReadsTheUpload) {
    httplib::Server server;
    std::string seenName, seenContent, seenField;
    server.Post("/arquivo/upload", [&](const httplib::Request& request, httplib::Response& response) {
        ASSERT_TRUE(request.has_file("File1"));
        const auto part = request.get_file_value("File1");
        seenName = part.filename;
        seenContent = part.content;
        seenField = part.content_type;
        response.set_content(R"({"name":")" + part.filename + R"(","size":3})", "application/json");
    });
    const int port = server.bind_to_any_port("127.0.0.1");
    std::thread serving([&] { server.listen_after_bind(); });
    const auto file = folder_.Write("ação.pdf", "%PDF");
    const auto reply = TnTarvenixUtils::SendPostData(u"http://127.0.0.1:" + IntToText(port) + u"/arquivo/upload", U16(file));
    server.stop();
    serving.join();
    EXPECT_EQ(seenName, "ação.pdf");
    EXPECT_EQ(seenContent, "%PDF");
    EXPECT_EQ(seenField, "application/octet-stream");
    EXPECT_THAT(ToUtf8(reply), HasSubstr("\"name\":\""));
}

// A certificate for 127.0.0.1 (and one for another host), made for this run.
class TlsTest : public TransportTest {
protected:
    std::filesystem::path MakeCertificate(const std::string& name, const std::string& altNames) {
        const auto key = folder_.Dir() / (name + ".key");
        const auto cert = folder_.Dir() / (name + ".pem");
        const std::string command = "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 1 "
                                    "-subj /CN=" + name + " -addext subjectAltName=" + altNames +
                                    " -keyout '" + key.string() + "' -out '" + cert.string() + "' 2>/dev/null";
        EXPECT_EQ(std::system(command.c_str()), 0);
        return cert;
    }

    std::u16string Post(const std::filesystem::path& cert, const std::filesystem::path& key) {
        httplib::SSLServer server(cert.string().c_str(), key.string().c_str());
        server.Post("/arquivo/upload", [](const httplib::Request& request, httplib::Response& response) {
            response.set_content(request.get_file_value("File1").content, "text/plain");
        });
        const int port = server.bind_to_any_port("127.0.0.1");
        std::thread serving([&] { server.listen_after_bind(); });
        const auto file = folder_.Write("s.txt", "segredo");
        std::u16string outcome;
        try {
            outcome = u"ok:" + TnTarvenixUtils::SendPostData(u"https://127.0.0.1:" + IntToText(port) + u"/arquivo/upload",
                                                             U16(file));
        } catch (const Failure& failure) {
            outcome = u"failed:" + failure.Message();
        }
        server.stop();
        serving.join();
        return outcome;
    }
};

TEST_F(TlsTest, VerifiesTheCertificateAndTheHostName) {
    const auto good = MakeCertificate("127.0.0.1", "IP:127.0.0.1");
    const auto goodKey = folder_.Dir() / "127.0.0.1.key";

    // Not in the system's store: refused.
    EXPECT_EQ(ToUtf8(Post(good, goodKey)), "failed:O certificado de segurança do servidor não é confiável.");

    CurrentUploadTransportSettings().caFile = good.string();
    EXPECT_EQ(Post(good, goodKey), u"ok:segredo");

    // Trusted, but made out to another host.
    const auto other = MakeCertificate("outro.example", "DNS:outro.example");
    CurrentUploadTransportSettings().caFile = other.string();
    EXPECT_EQ(ToUtf8(Post(other, folder_.Dir() / "outro.example.key")),
              "failed:O certificado de segurança do servidor não é confiável.");
}

}  // namespace
