#include "windows/ChatUploads.h"
#include "windows/UploadReply.h"

#include "fakes/FakePlatform.h"
#include "platform/posix/PosixFileSystem.h"
#include "support/TextUtils.h"
#include "windows/LoopbackServer.h"
#include "fakes/TempFolder.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <jpeglib.h>
#include <unistd.h>

#include <chrono>
#include <deque>
#include <mutex>
#include <thread>

using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using testing_support::LoopbackServer;
using testing_support::Reply;
using fakes::TempFolder;
using fakes::U16;

namespace {

class FakeUploadWindow : public IChatUploadWindow {
public:
    std::u16string urlRoot = u"http://127.0.0.1:1";
    RgbPicture picture{4, 2, std::vector<std::uint8_t>(4 * 2 * 3, 200)};
    std::function<void()> onCapture;

    void HideWindow() override { Log("hide"); }
    void ShowWindow() override { Log("show"); }
    void RepaintWindow() override { Log("repaint"); }
    void RepaintBrowser() override { Log("repaintBrowser"); }
    RgbPicture CaptureScreen() override {
        Log("capture");
        if (onCapture) onCapture();
        return picture;
    }
    void RunScript(const std::u16string& script) override { Log("script:" + ToUtf8(script)); }
    std::u16string GetUrlRoot() override { return urlRoot; }
    std::shared_ptr<WindowThread> GetWindowThread() override { return windowThread; }
    platform::IDialogs& Dialogs() override { return *platform::Current().dialogs; }

    // Runs what it is handed at once, on the thread that hands it over.
    std::shared_ptr<WindowThread> windowThread = WindowThread::Create([this](WindowThread::Task task) {
        Log("windowThread");
        task();
    });

    std::vector<std::string> Calls() {
        std::lock_guard lock(mutex_);
        return calls_;
    }
    void Clear() {
        std::lock_guard lock(mutex_);
        calls_.clear();
    }

private:
    void Log(std::string what) {
        std::lock_guard lock(mutex_);
        calls_.push_back(std::move(what));
    }
    std::mutex mutex_;
    std::vector<std::string> calls_;
};

// Reads a script made of one call with double-quoted literal arguments, the
// way a page script parser would, and gives the argument values; fails on
// anything that is not a plain literal.
std::vector<std::u16string> LiteralArguments(const std::u16string& script, const std::u16string& function) {
    std::vector<std::u16string> values;
    size_t i = function.size() + 1;
    if (script.compare(0, i, function + u"(") != 0) return {u"<not a call>"};
    for (;;) {
        if (i >= script.size() || script[i] != u'"') return {u"<no literal>"};
        std::u16string value;
        for (++i;; ++i) {
            if (i >= script.size()) return {u"<unterminated>"};
            const char16_t c = script[i];
            if (c == u'"') break;
            if (c == u'\n' || c == u'\r' || c == 0x2028 || c == 0x2029 || c == u'<') return {u"<raw terminator>"};
            if (c != u'\\') {
                value += c;
                continue;
            }
            const char16_t e = script[++i];
            if (e == u'u') {
                value += static_cast<char16_t>(std::stoi(ToUtf8(script.substr(i + 1, 4)), nullptr, 16));
                i += 4;
            } else {
                value += e == u'n' ? u'\n' : e == u'r' ? u'\r' : e == u't' ? u'\t' : e;
            }
        }
        values.push_back(value);
        ++i;
        if (script.compare(i, 2, u")") == 0 && i + 1 == script.size()) return values;
        if (script.compare(i, 2, u", ") != 0) return {u"<code after literal>"};
        i += 2;
    }
}

// Runs the completion of an upload whose function gave `reply` (or failed
// with `error`), on a real upload thread.
std::vector<std::string> Complete(const std::u16string& reply, const std::u16string& error = u"") {
    FakeUploadWindow window;
    ChatUploads uploads(window);
    auto thread = TThreadHttpPost::CreateSuspended();
    thread->SetMetodo([&]() -> std::u16string {
        if (!error.empty()) throw Failure(error);
        return reply;
    });
    thread->SetOnTerminate([&](TThreadHttpPost& sender) { uploads.ThreadScreenshotTerminate(sender); });
    thread->Start();
    thread->WaitFor();
    return window.Calls();
}

std::u16string UploadFileScript(const std::u16string& reply) {
    fakes::FakePlatform platform;
    const auto calls = Complete(reply);
    EXPECT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls.at(0), "script:enabledButton(\".screenshot-button\")");
    return FromUtf8(calls.at(1).substr(7));
}

TEST(PegarTextoEntre, TakesFromTheFirstStartThroughTheFirstEnd) {
    EXPECT_EQ(PegarTextoEntre(u"xx[abc]yy", u"[", u"]"), u"[abc]");
    EXPECT_EQ(PegarTextoEntre(u"abcdefghijkl", u"<", u"12345678"), u"abcdefgh");  // neither: first len(end)
    EXPECT_EQ(PegarTextoEntre(u"abc]", u"[", u"]"), u"abc]");                     // no start: from the beginning
    EXPECT_EQ(PegarTextoEntre(u"abc]def", u"[", u"]"), u"abc]d");                 // ... for p2 + len(end) characters
    EXPECT_EQ(PegarTextoEntre(u"]x[abc", u"[", u"]"), u"");                       // end before start
    EXPECT_EQ(PegarTextoEntre(u"ab[cd", u"[", u"]"), u"");                        // no end
    EXPECT_EQ(PegarTextoEntre(u"x[abc", u"[", u"abcdef"), u"[abc");               // no end, marker longer than p1
    EXPECT_EQ(PegarTextoEntre(u"[ab]xy", u"[", u"b]xy"), u"[ab]xy");              // count cut at the end
    EXPECT_EQ(PegarTextoEntre(u"", u"[", u"]"), u"");
}

TEST(UploadCompletion, HandsTheNameAndAddressToThePage) {
    // The name is UTF-8 read byte per character; the escapes are the page's to decode.
    const std::u16string reply = FromUtf8("[{\"name\":\"foto \xc3\xa7") +
                                 u".jpg\",\"size\":12,\"url\":\"http:\\/\\/h\\/a b.jpg\",\"thumbnailUrl\":\"\"}]";
    fakes::FakePlatform platform;
    const std::u16string latin1 = platform.codePage.FromAnsi(ToUtf8(reply));
    const auto script = UploadFileScript(latin1);
    EXPECT_THAT(LiteralArguments(script, u"uploadFile"), ElementsAre(u"foto ç.jpg", u"http://h/a b.jpg"));
    EXPECT_EQ(script, u"uploadFile(\"foto ç.jpg\", \"http://h/a b.jpg\")");
}

TEST(UploadCompletion, OutsideTextReachesThePageAsTheSameStringNeverAsCode) {
    struct Case {
        std::u16string nameInReply, urlInReply, name, url;
    };
    const std::vector<Case> cases{
        {u"a\\\"); alert(1); //", u"x\\\\\\\"y", u"a\"); alert(1); //", u"x\\\"y"},
        {u"</script><script>alert(1)</script>", u"u\\u003c/script>", u"</script><script>alert(1)</script>",
         u"u</script>"},
        {u"linha\\nnova\\r\\t\\b\\f", u"\\u2028\\u00e7\\uD83D\\uDE00", u"linha\nnova\r\t\b\f", u"\u2028ç\U0001F600"},
        // Not valid JSON: raw quotes, raw line breaks and separators, odd escapes.
        {u"a\"b\nc", u"\u2028\u2029\\q\\u12G4\\", u"a\"b\nc", u"\u2028\u2029\\q\\u12G4\\"},
    };
    for (const auto& c : cases) {
        fakes::FakePlatform platform;
        // The name travels as UTF-8 bytes; U+2028 included.
        const std::u16string reply = u"{\"name\":\"" + platform.codePage.FromAnsi(ToUtf8(c.nameInReply)) +
                                     u"\",\"size\":1,\"url\":\"" + c.urlInReply + u"\",\"thumbnailUrl\":\"\"}";
        const auto script = UploadFileScript(reply);
        EXPECT_THAT(LiteralArguments(script, u"uploadFile"), ElementsAre(c.name, c.url)) << ToUtf8(script);
    }
}

TEST(UploadCompletion, RepliesWithoutTheMarkersGiveWhatTheExtractionGives) {
    EXPECT_EQ(UploadFileScript(u"abcdefghijklmnopqrstuvwxyz"), u"uploadFile(\"abcdefgh\", \"abcdefghijklmnop\")");
    EXPECT_EQ(UploadFileScript(u""), u"uploadFile(\"\", \"\")");
    // Name marker missing: everything before the size marker.
    EXPECT_EQ(UploadFileScript(u"foto.png\",\"size\""), u"uploadFile(\"foto.png\", \"foto.png\\\",\\\"size\\\"\")");
}

TEST(UploadCompletion, AFailedUploadReEnablesTheButtonThenShowsTheError) {
    fakes::FakePlatform platform;
    EXPECT_THAT(Complete(u"", u"HTTP/1.1 500 Internal Server Error"),
                ElementsAre("script:enabledButton(\".screenshot-button\")"));
    ASSERT_EQ(platform.dialogs.shown.size(), 1u);
    EXPECT_EQ(platform.dialogs.shown[0].text, u"Ocorreu um erro ao enviar a imagem: HTTP/1.1 500 Internal Server Error");
    EXPECT_EQ(platform.dialogs.shown[0].kind, platform::DialogKind::Error);
    EXPECT_THAT(platform.dialogs.shown[0].buttons, ElementsAre(platform::DialogButton::OK));
}

TEST(ScreenshotFile, NameCarriesTheLocalTimeWithLeadingZeros) {
    EXPECT_EQ(ScreenshotFileName({2023, 12, 8, 13, 5, 9, 0}), u"ScreenShot_08122023130509.jpg");
    EXPECT_EQ(ScreenshotFileName({2024, 1, 2, 3, 4, 5, 0}), u"ScreenShot_02012024030405.jpg");
}

struct DecodedJpeg {
    int width = 0, height = 0, components = 0;
    bool progressive = true;
    unsigned quant0 = 0;
};

DecodedJpeg Decode(const std::string& bytes) {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    jpeg_read_header(&info, TRUE);
    DecodedJpeg out{static_cast<int>(info.image_width), static_cast<int>(info.image_height), info.num_components,
                    static_cast<bool>(info.progressive_mode), info.quant_tbl_ptrs[0]->quantval[0]};
    jpeg_start_decompress(&info);
    std::vector<unsigned char> row(info.output_width * info.output_components);
    while (info.output_scanline < info.output_height) {
        JSAMPROW rows[] = {row.data()};
        jpeg_read_scanlines(&info, rows, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return out;
}

TEST(Jpeg, EncodesABaselineColourPictureAtQuality90) {
    RgbPicture picture{33, 17, {}};
    for (int i = 0; i < 33 * 17 * 3; ++i) picture.pixels.push_back(static_cast<std::uint8_t>(i * 7));
    const auto decoded = Decode(EncodeJpeg(picture, 90));
    EXPECT_EQ(decoded.width, 33);
    EXPECT_EQ(decoded.height, 17);
    EXPECT_EQ(decoded.components, 3);
    EXPECT_FALSE(decoded.progressive);
    EXPECT_EQ(decoded.quant0, 3u);  // 16 scaled to quality 90 in the standard luminance table
    EXPECT_THROW(EncodeJpeg(RgbPicture{0, 0, {}}, 90), Failure);
    EXPECT_THROW(EncodeJpeg(RgbPicture{2, 2, std::vector<std::uint8_t>(5)}, 90), Failure);
}

// The real file system under a program folder of its own.
class UploadsOnDisk : public testing::Test {
protected:
    UploadsOnDisk() {
        platform_.process.arguments = {U16((folder_.Dir() / "PTarveNixApp"))};
    }

    TempFolder folder_;
    fakes::FakePlatform platform_;
    platform::PosixFileSystem files_;
    platform::ScopedServices realFiles_{platform::Services{.files = &files_}};
    FakeUploadWindow window_;
    ChatUploads uploads_{window_};
};

TEST_F(UploadsOnDisk, ScreenshotHidesCapturesSavesUploadsAndShowsTheWindowAgain) {
    LoopbackServer server(Reply("HTTP/1.1 200 OK", "{\"name\":\"s.jpg\",\"size\":1,\"url\":\"u\",\"thumbnailUrl\":\"\"}"),
                          /*hold=*/true);
    window_.urlRoot = FromUtf8(server.Url(""));
    window_.picture = RgbPicture{64, 48, std::vector<std::uint8_t>(64 * 48 * 3, 90)};
    platform_.clock.now = {2023, 12, 8, 13, 5, 9, 0};

    uploads_.PrintScreenClient();
    EXPECT_THAT(platform_.clock.sleeps, ElementsAre(500));
    EXPECT_THAT(window_.Calls(), ElementsAre("hide", "capture", "repaint", "script:notifySendPrintScreen()", "show",
                                             "repaint", "repaintBrowser"));
    const std::u16string saved = uploads_.NomeArqCompleto();
    EXPECT_TRUE(StartsWith(saved, U16(folder_.Dir())));
    EXPECT_THAT(ToUtf8(saved), testing::EndsWith("/temp/Tarvenix_screenshots/ScreenShot_08122023130509.jpg"));
    const auto decoded = Decode(files_.ReadFile(saved));
    EXPECT_EQ(decoded.width, 64);
    EXPECT_EQ(decoded.height, 48);

    // While the first upload runs, a second request only blinks the window.
    window_.Clear();
    uploads_.PrintScreenClient();
    EXPECT_THAT(window_.Calls(), ElementsAre("hide", "show", "repaint", "repaintBrowser"));
    EXPECT_THAT(platform_.clock.sleeps, ElementsAre(500));

    const auto first = uploads_.ThreadScreenshot();
    server.Release();
    first->WaitFor();
    EXPECT_THAT(window_.Calls(), ElementsAre("hide", "show", "repaint", "repaintBrowser", "windowThread",
                                             "script:enabledButton(\".screenshot-button\")",
                                             "script:uploadFile(\"s.jpg\", \"u\")"));
    const auto request = server.Requests().at(0);
    EXPECT_THAT(request, HasSubstr("POST /arquivo/upload HTTP/1.1"));
    EXPECT_THAT(request, HasSubstr("filename=\"ScreenShot_08122023130509.jpg\""));

    // After the completion a new request captures and uploads again.
    window_.Clear();
    uploads_.PrintScreenClient();
    EXPECT_NE(uploads_.ThreadScreenshot(), first);
    EXPECT_THAT(platform_.clock.sleeps, ElementsAre(500, 500));
    uploads_.ThreadScreenshot()->WaitFor();
}

TEST_F(UploadsOnDisk, AFailingCaptureStillShowsTheWindowAgain) {
    window_.onCapture = [] { throw Failure(u"sem tela"); };
    EXPECT_THROW(uploads_.PrintScreenClient(), Failure);
    EXPECT_THAT(window_.Calls(), ElementsAre("hide", "capture", "show", "repaint", "repaintBrowser"));
    EXPECT_EQ(uploads_.ThreadScreenshot(), nullptr);
}

TEST_F(UploadsOnDisk, SizeLimitCountsTheFull64BitSize) {
    const auto sparse = [&](const std::string& name, off_t size) {
        const auto path = folder_.Write(name, "");
        EXPECT_EQ(::truncate(path.c_str(), size), 0);
        return U16(path);
    };
    EXPECT_FALSE(TnTarvenixUtils::FileSizeGreaterThanMbSize(sparse("exato", 10485760), 10));
    EXPECT_TRUE(TnTarvenixUtils::FileSizeGreaterThanMbSize(sparse("um-a-mais", 10485761), 10));
    EXPECT_TRUE(TnTarvenixUtils::FileSizeGreaterThanMbSize(sparse("4g", 4294967296LL), 10));
    // Low half small: only the full size is too large.
    EXPECT_TRUE(TnTarvenixUtils::FileSizeGreaterThanMbSize(sparse("4g+5", 4294967301LL), 10));
    EXPECT_FALSE(TnTarvenixUtils::FileSizeGreaterThanMbSize(u"/nao/existe", 10));  // -1: within the limit
    EXPECT_EQ(TnTarvenixUtils::ConvertMbToBytes(2048), 2147483648LL);
}

TEST_F(UploadsOnDisk, FileUploadChecksSizeThenExtension) {
    const auto file = [&](const std::string& name, size_t size = 3) {
        return U16(folder_.Write(name, std::string(size, 'a')));
    };
    struct Case {
        std::u16string list, path;
        bool accepted;
    };
    const std::vector<Case> cases{
        {u"pdf;png", file("Relatorio.PDF"), true},
        {u"pdf;png", file("foto.jpeg"), false},
        {u" pdf ;png", file("a.pdf"), true},
        {u".pdf", file("b.pdf"), false},
        {u"pdf", file("semextensao"), false},
        {u"pdf;", file("semextensao2"), true},
        {u"gz", file("archive.tar.gz"), true},
        {u"", file("c.pdf"), false},
        {u"pdf", file("grande.pdf", 10485761), false},
        {u"pdf", file("limite.pdf", 10485760), true},
    };
    for (const auto& c : cases) {
        window_.Clear();
        platform_.dialogs.files = {c.path};
        uploads_.FileUploadClient({u"FileUploadClient", c.list});
        if (c.accepted) {
            ASSERT_NE(uploads_.ThreadUpload(), nullptr);
            uploads_.ThreadUpload()->WaitFor();  // nothing listens: the upload fails
            EXPECT_EQ(window_.Calls().at(0), "script:notifySendFile()") << ToUtf8(c.path);
            EXPECT_EQ(window_.Calls().at(2), "script:enabledButton(\".fileinput-button\")");
        } else {
            EXPECT_THAT(window_.Calls(), ElementsAre("script:enabledButton(\".fileinput-button\")",
                                                     "script:processfailSendFile()"))
                << ToUtf8(c.path);
        }
    }
    EXPECT_EQ(platform_.dialogs.prompts.front(), u"Selecione um arquivo para enviar ao atendente");
    EXPECT_EQ(platform_.dialogs.lastFilter, u"All files (*.*)|*.*");
    EXPECT_EQ(platform_.dialogs.lastDefaultExtension, u"");
    // Failed uploads show the transport's text after the prefix.
    EXPECT_THAT(ToUtf8(platform_.dialogs.shown.back().text), HasSubstr("Ocorreu um erro ao enviar a imagem: "));
}

TEST_F(UploadsOnDisk, AnUploadThatOutlivesItsWindowTouchesNothingOfIt) {
    // A window thread that runs what it is handed only when the test says so.
    std::mutex mutex;
    std::deque<WindowThread::Task> handed;
    const auto windowThread = WindowThread::Create([&](WindowThread::Task task) {
        std::lock_guard lock(mutex);
        handed.push_back(std::move(task));
    });
    LoopbackServer server(Reply("HTTP/1.1 200 OK", "{}"), /*hold=*/true);
    auto window = std::make_unique<FakeUploadWindow>();
    window->urlRoot = FromUtf8(server.Url(""));
    window->windowThread = windowThread;
    auto uploads = std::make_unique<ChatUploads>(*window);
    platform_.dialogs.files = {U16(folder_.Write("a.pdf", "x"))};
    uploads->FileUploadClient({u"FileUploadClient", u"pdf"});
    const auto running = uploads->ThreadUpload();

    // The window closes and goes while the reply is still on its way.
    windowThread->Close();
    uploads.reset();
    window.reset();
    server.Release();
    while (!running->Finished()) {
        std::deque<WindowThread::Task> tasks;
        {
            std::lock_guard lock(mutex);
            tasks.swap(handed);
        }
        for (auto& task : tasks) task();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_TRUE(running->Erro().empty()) << ToUtf8(running->Erro());
}

TEST_F(UploadsOnDisk, FileUploadIsQuietOnCancelAndWhileAnUploadRuns) {
    uploads_.FileUploadClient({u"FileUploadClient", u"pdf"});  // cancelled
    EXPECT_THAT(window_.Calls(), IsEmpty());

    LoopbackServer server(Reply("HTTP/1.1 200 OK", ""), /*hold=*/true);
    window_.urlRoot = FromUtf8(server.Url(""));
    platform_.dialogs.files = {U16(folder_.Write("a.pdf", "x"))};
    uploads_.FileUploadClient({u"FileUploadClient", u"pdf"});
    const auto running = uploads_.ThreadUpload();
    const size_t prompts = platform_.dialogs.prompts.size();
    window_.Clear();
    uploads_.FileUploadClient({u"FileUploadClient", u"pdf"});
    EXPECT_EQ(platform_.dialogs.prompts.size(), prompts);
    EXPECT_THAT(window_.Calls(), IsEmpty());
    server.Release();
    running->WaitFor();
}

}  // namespace
