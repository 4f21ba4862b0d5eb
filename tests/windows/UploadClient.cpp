// Sends one file the way the program does and prints "ok:" and the reply, or
// "failed:" and the failure's text, for the Wine tests that need the upload
// in a process of its own.
// Usage: wine_upload_client URL FILE

#include "support/Failure.h"
#include "support/TextUtils.h"
#include "windows/UploadTransport.h"

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>

int main() {
    int count = 0;
    wchar_t** arguments = ::CommandLineToArgvW(::GetCommandLineW(), &count);
    if (count != 3) {
        std::fputs("usage: wine_upload_client URL FILE\n", stderr);
        return 2;
    }
    const auto text = [](const wchar_t* argument) {
        return std::u16string(argument, argument + std::char_traits<wchar_t>::length(argument));
    };
    std::string outcome;
    try {
        outcome = "ok:" + ToUtf8(TnTarvenixUtils::SendPostData(text(arguments[1]), text(arguments[2])));
    } catch (const Failure& failure) {
        outcome = "failed:" + ToUtf8(failure.Message());
    }
    std::fwrite(outcome.data(), 1, outcome.size(), stdout);
    return 0;
}
