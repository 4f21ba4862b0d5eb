#pragma once
// The upload request: one multipart/form-data POST of a file.

#include <functional>
#include <string>

// How long an upload may wait. The defaults keep a dead server from holding
// the page's button forever; tests shorten them and bring their own CA.
struct UploadTransportSettings {
    long connectTimeoutSeconds = 30;
    // The transfer fails when no byte has moved for this long.
    long stallTimeoutSeconds = 60;
    // A CA bundle to trust instead of the system's store; empty for the store.
    std::string caFile;
    // Makes the multipart boundary of each attempt; empty for 128 random bits.
    std::function<std::string()> newBoundary;
};

// The settings every upload reads when it starts.
UploadTransportSettings& CurrentUploadTransportSettings();

namespace TnTarvenixUtils {

// Posts the file at `_APath` to `_AUrl` and returns the reply body, each byte
// read through the ANSI code page. Throws Failure: the file layer's text, the
// transport's or TLS layer's text, or the status line of a reply outside 2xx.
std::u16string SendPostData(const std::u16string& _AUrl, const std::u16string& _APath);

}  // namespace TnTarvenixUtils

// What the user reads for a transport failure of the HTTP library (a
// CURLcode): a Portuguese sentence. The library's own text goes to the
// action log.
std::u16string TransportFailureText(int code);

// The parts of the request that are ours, exposed for the tests.
namespace multipart {

// The filename parameter: the UTF-8 bytes of the name, except that a quote,
// CR and LF are percent-encoded so that they cannot end the parameter or the
// header line.
std::string FileNameParameter(const std::u16string& path);
std::string PartHead(const std::string& boundary, const std::string& fileNameParameter);
std::string BodyTail(const std::string& boundary);

}  // namespace multipart
