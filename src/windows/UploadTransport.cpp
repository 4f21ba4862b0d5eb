#include "windows/UploadTransport.h"

#include "platform/FileSystem.h"
#include "platform/Platform.h"
#include "platform/ReadableFile.h"
#include "support/Failure.h"
#include "support/LocalFiles.h"
#include "support/ScriptText.h"
#include "support/TextUtils.h"

#include <curl/curl.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <random>
#include <string_view>

UploadTransportSettings& CurrentUploadTransportSettings() {
    static UploadTransportSettings settings;
    return settings;
}

namespace multipart {

std::string FileNameParameter(const std::u16string& path) {
    const auto cut = path.find_last_of(platform::kPathDelimiters);
    const std::string name = ToUtf8(cut == std::u16string::npos ? path : path.substr(cut + 1));
    std::string out;
    out.reserve(name.size());
    for (char c : name) {
        if (c == '"') out += "%22";
        else if (c == '\r') out += "%0D";
        else if (c == '\n') out += "%0A";
        else out += c;
    }
    return out;
}

std::string PartHead(const std::string& boundary, const std::string& fileNameParameter) {
    return "--" + boundary + "\r\n" +
           "Content-Disposition: form-data; name=\"File1\"; filename=\"" + fileNameParameter + "\"\r\n" +
           "Content-Type: application/octet-stream\r\n" +
           "\r\n";
}

std::string BodyTail(const std::string& boundary) { return "\r\n--" + boundary + "--\r\n"; }

}  // namespace multipart

std::u16string TransportFailureText(int code) {
    switch (code) {
        case CURLE_COULDNT_CONNECT: return u"Não foi possível conectar ao servidor.";
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY: return u"O endereço do servidor não foi encontrado.";
        case CURLE_GOT_NOTHING: return u"O servidor não enviou resposta.";
        case CURLE_OPERATION_TIMEDOUT: return u"O servidor demorou demais para responder.";
        case CURLE_PEER_FAILED_VERIFICATION: return u"O certificado de segurança do servidor não é confiável.";
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_SSL_ENGINE_NOTFOUND:
        case CURLE_SSL_ENGINE_SETFAILED:
        case CURLE_SSL_CERTPROBLEM:
        case CURLE_SSL_CIPHER:
        case CURLE_SSL_ENGINE_INITFAILED:
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_SSL_SHUTDOWN_FAILED:
        case CURLE_SSL_CRL_BADFILE:
        case CURLE_SSL_ISSUER_ERROR:
        case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        case CURLE_SSL_INVALIDCERTSTATUS:
        case CURLE_SSL_CLIENTCERT: return u"Não foi possível estabelecer uma conexão segura com o servidor.";
        case CURLE_SEND_ERROR:
        case CURLE_RECV_ERROR:
        case CURLE_PARTIAL_FILE: return u"A conexão com o servidor foi interrompida.";
        case CURLE_WEIRD_SERVER_REPLY: return u"O servidor enviou uma resposta que não pôde ser lida.";
        case CURLE_URL_MALFORMAT:
        case CURLE_UNSUPPORTED_PROTOCOL: return u"O endereço do serviço não é válido.";
        case CURLE_OUT_OF_MEMORY: return u"Não há memória suficiente para o envio.";
        default: return u"Ocorreu uma falha na comunicação com o servidor.";
    }
}

namespace {

constexpr char16_t kLibraryUnavailable[] = u"Não foi possível preparar a comunicação com o servidor.";

void InitialiseCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) throw Failure(kLibraryUnavailable);
    });
}

// The library's own words, for support staff; the user reads Portuguese.
void LogTransportFailure(const std::string& url, CURLcode code, const std::string& text) {
    try {
        TnTarvenixUtils::LogarAcoesTarvenix(u"Falha no envio para " + QuotedForLog(FromUtf8(url)) + u": " +
                                            QuotedForLog(FromUtf8(text)) + u" (CURLcode " + IntToText(code) + u")");
    } catch (const std::exception&) {
        // The upload's failure is what matters; the log is a diagnostic.
    }
}

// 128 random bits: a file cannot be made to contain a boundary that does not
// exist yet, and the body is scanned while it is sent in case one does.
std::string NewBoundary() {
    static constexpr char kHex[] = "0123456789abcdef";
    std::random_device random;
    std::string boundary = "----------TarvenixBoundary";
    for (int i = 0; i < 4; ++i) {
        std::uint32_t word = random();
        for (int n = 0; n < 8; ++n, word >>= 4) boundary += kHex[word & 0xF];
    }
    return boundary;
}

// The body as curl pulls it: our head, the file's bytes as they are read, our
// tail. Nothing but one buffer-full of the file is ever in memory.
class BodyReader {
public:
    BodyReader(platform::IReadableFile& file, std::string head, std::string tail, std::string boundary)
        : file_(file),
          head_(std::move(head)),
          tail_(std::move(tail)),
          boundary_(std::move(boundary)),
          searcher_(boundary_.begin(), boundary_.end()),
          fileLeft_(file.Size()) {}

    std::int64_t Length() const {
        return static_cast<std::int64_t>(head_.size()) + file_.Size() + static_cast<std::int64_t>(tail_.size());
    }
    bool BoundaryFound() const { return boundaryFound_; }
    std::exception_ptr ReadFailure() const { return failure_; }

    static size_t Callback(char* buffer, size_t size, size_t count, void* self) {
        return static_cast<BodyReader*>(self)->Fill(buffer, size * count);
    }

private:
    size_t Fill(char* buffer, size_t room) {
        try {
            if (headSent_ < head_.size()) return Copy(head_, headSent_, buffer, room);
            if (fileLeft_ > 0) return FromFile(buffer, room);
            return Copy(tail_, tailSent_, buffer, room);
        } catch (...) {
            failure_ = std::current_exception();
            return CURL_READFUNC_ABORT;
        }
    }

    static size_t Copy(const std::string& from, size_t& sent, char* buffer, size_t room) {
        const size_t n = std::min(room, from.size() - sent);
        std::copy_n(from.data() + sent, n, buffer);
        sent += n;
        return n;
    }

    size_t FromFile(char* buffer, size_t room) {
        const size_t want = static_cast<size_t>(std::min<std::int64_t>(fileLeft_, static_cast<std::int64_t>(room)));
        const size_t got = file_.Read(buffer, want);
        if (got == 0) throw Failure(u"O arquivo mudou durante o envio.");
        fileLeft_ -= static_cast<std::int64_t>(got);
        if (Contains(buffer, got)) {
            boundaryFound_ = true;
            return CURL_READFUNC_ABORT;
        }
        return got;
    }

    // Looks for the boundary in this piece, also where it straddles the
    // previous one.
    bool Contains(const char* data, size_t size) {
        const size_t keep = boundary_.size() - 1;
        const size_t lead = std::min(size, keep);
        std::string seam = carry_;
        seam.append(data, lead);
        if (std::search(seam.begin(), seam.end(), searcher_) != seam.end()) return true;
        if (std::search(data, data + size, searcher_) != data + size) return true;
        if (size >= keep) {
            carry_.assign(data + size - keep, keep);
        } else {
            carry_.append(data, size);
            if (carry_.size() > keep) carry_.erase(0, carry_.size() - keep);
        }
        return false;
    }

    platform::IReadableFile& file_;
    std::string head_, tail_, boundary_;
    std::boyer_moore_horspool_searcher<std::string::const_iterator> searcher_;
    std::int64_t fileLeft_;
    size_t headSent_ = 0, tailSent_ = 0;
    std::string carry_;
    bool boundaryFound_ = false;
    std::exception_ptr failure_;
};

size_t CollectBody(char* data, size_t size, size_t count, void* out) {
    static_cast<std::string*>(out)->append(data, size * count);
    return size * count;
}

// Keeps the status line of the last reply head (a 100 Continue may precede
// the real one).
size_t CollectStatusLine(char* data, size_t size, size_t count, void* out) {
    std::string_view line(data, size * count);
    if (line.starts_with("HTTP/")) {
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
        *static_cast<std::string*>(out) = std::string(line);
    }
    return size * count;
}

// Ends a transfer on which no byte has moved, either way, for the limit.
struct StallWatch {
    std::chrono::steady_clock::duration limit;
    std::chrono::steady_clock::time_point lastMove = std::chrono::steady_clock::now();
    curl_off_t moved = 0;
    bool stalled = false;

    static int Callback(void* self, curl_off_t, curl_off_t downloaded, curl_off_t, curl_off_t uploaded) {
        auto& watch = *static_cast<StallWatch*>(self);
        const auto now = std::chrono::steady_clock::now();
        if (downloaded + uploaded != watch.moved) {
            watch.moved = downloaded + uploaded;
            watch.lastMove = now;
        } else if (now - watch.lastMove >= watch.limit) {
            watch.stalled = true;
            return 1;
        }
        return 0;
    }
};

struct CurlDeleter {
    void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
};
struct HeaderListDeleter {
    void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};

struct Reply {
    bool boundaryFound = false;
    std::string body;
};

Reply PostOnce(const std::string& url, platform::IReadableFile& file, const std::string& fileName) {
    const UploadTransportSettings settings = CurrentUploadTransportSettings();
    const std::string boundary = settings.newBoundary ? settings.newBoundary() : NewBoundary();
    BodyReader reader(file, multipart::PartHead(boundary, fileName), multipart::BodyTail(boundary), boundary);

    std::unique_ptr<CURL, CurlDeleter> curl(curl_easy_init());
    if (!curl) throw Failure(kLibraryUnavailable);
    std::unique_ptr<curl_slist, HeaderListDeleter> headers;
    for (const std::string& header :
         {"Content-Type: multipart/form-data; boundary=" + boundary, std::string("Expect:")}) {
        curl_slist* grown = curl_slist_append(headers.get(), header.c_str());
        if (!grown) throw std::bad_alloc();
        headers.release();
        headers.reset(grown);
    }

    Reply reply;
    std::string statusLine;
    char errorText[CURL_ERROR_SIZE] = {};
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(c, CURLOPT_POST, 1L);
    curl_easy_setopt(c, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(reader.Length()));
    curl_easy_setopt(c, CURLOPT_READFUNCTION, &BodyReader::Callback);
    curl_easy_setopt(c, CURLOPT_READDATA, &reader);
    // Fewer, larger reads and sends; still a small, fixed amount of memory.
    curl_easy_setopt(c, CURLOPT_UPLOAD_BUFFERSIZE, 256L * 1024);
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, &CollectBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &reply.body);
    curl_easy_setopt(c, CURLOPT_HEADERFUNCTION, &CollectStatusLine);
    curl_easy_setopt(c, CURLOPT_HEADERDATA, &statusLine);
    curl_easy_setopt(c, CURLOPT_ERRORBUFFER, errorText);
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);  // upload threads: no SIGALRM for name look-ups
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT, settings.connectTimeoutSeconds);
    StallWatch watch{std::chrono::seconds(settings.stallTimeoutSeconds)};
    curl_easy_setopt(c, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(c, CURLOPT_XFERINFOFUNCTION, &StallWatch::Callback);
    curl_easy_setopt(c, CURLOPT_XFERINFODATA, &watch);
    if (!settings.caFile.empty())
        curl_easy_setopt(c, CURLOPT_CAINFO, settings.caFile.c_str());
    else
        // On Windows the roots the system trusts, a company's own included;
        // elsewhere the library's own bundle, as before.
        curl_easy_setopt(c, CURLOPT_SSL_OPTIONS, static_cast<long>(CURLSSLOPT_NATIVE_CA));

    const CURLcode result = curl_easy_perform(c);
    if (auto failure = reader.ReadFailure()) std::rethrow_exception(failure);
    if (reader.BoundaryFound()) {
        reply.boundaryFound = true;
        return reply;
    }
    if (watch.stalled)
        throw Failure(settings.stallTimeoutSeconds == 1
                          ? std::u16string(u"Nenhum dado foi transferido no último segundo.")
                          : u"Nenhum dado foi transferido nos últimos " + IntToText(settings.stallTimeoutSeconds) +
                                u" segundos.");
    if (result != CURLE_OK) {
        LogTransportFailure(url, result, errorText[0] ? std::string(errorText) : std::string(curl_easy_strerror(result)));
        throw Failure(TransportFailureText(result));
    }
    long status = 0;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    if (status < 200 || status > 299) throw Failure(platform::Current().codePage->FromAnsi(statusLine));
    return reply;
}

}  // namespace

namespace TnTarvenixUtils {

std::u16string SendPostData(const std::u16string& _AUrl, const std::u16string& _APath) {
    // Opened first: a file that cannot be read fails before any connection.
    const auto file = platform::OpenReadableFile(_APath);
    InitialiseCurlOnce();
    const std::string url = ToUtf8(_AUrl);
    const std::string fileName = multipart::FileNameParameter(_APath);
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (attempt > 0) file->Rewind();
        Reply reply = PostOnce(url, *file, fileName);
        if (!reply.boundaryFound) return platform::Current().codePage->FromAnsi(reply.body);
    }
    throw Failure(u"O arquivo não pôde ser enviado: o separador do formulário aparece no seu conteúdo.");
}

}  // namespace TnTarvenixUtils
