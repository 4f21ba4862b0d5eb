#include "support/LocalFiles.h"

#include "platform/Platform.h"
#include "platform/ProcessEnd.h"
#include "startup/nTarvenixClasses_U.h"
#include "support/TextUtils.h"

#include <mutex>

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LEMark = "\xFF\xFE";
constexpr std::string_view kUtf16BEMark = "\xFE\xFF";

std::u16string TwoDigits(int value) { return TnTarvenixUtils::PreencherAEsquerda(IntToText(value), 2, u"0"); }

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto a = static_cast<unsigned char>(bytes[i]), b = static_cast<unsigned char>(bytes[i + 1]);
        text += static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    }
    return text;
}

std::string EncodeUtf16(std::u16string_view text, bool bigEndian) {
    std::string bytes;
    bytes.reserve(text.size() * 2);
    for (char16_t c : text) {
        const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

}  // namespace

std::vector<std::u16string> SplitLines(std::u16string_view text) {
    std::vector<std::u16string> lines;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

TextFileLines DecodeTextFile(std::string_view bytes) {
    TextFileLines file;
    std::u16string text;
    if (bytes.substr(0, 3) == kUtf8Mark) {
        file.encoding = TextFileEncoding::Utf8;
        text = FromUtf8(bytes.substr(3));
    } else if (bytes.substr(0, 2) == kUtf16LEMark) {
        file.encoding = TextFileEncoding::Utf16LE;
        text = DecodeUtf16(bytes.substr(2), false);
    } else if (bytes.substr(0, 2) == kUtf16BEMark) {
        file.encoding = TextFileEncoding::Utf16BE;
        text = DecodeUtf16(bytes.substr(2), true);
    } else {
        text = platform::Current().codePage->FromAnsi(bytes);
    }
    file.lines = SplitLines(text);
    return file;
}

std::string EncodeTextFile(const TextFileLines& file) {
    std::u16string text;
    for (const auto& line : file.lines) text += line + u"\r\n";
    switch (file.encoding) {
        case TextFileEncoding::Utf8: return std::string(kUtf8Mark) + ToUtf8(text);
        case TextFileEncoding::Utf16LE: return std::string(kUtf16LEMark) + EncodeUtf16(text, false);
        case TextFileEncoding::Utf16BE: return std::string(kUtf16BEMark) + EncodeUtf16(text, true);
        case TextFileEncoding::Ansi: break;
    }
    return platform::Current().codePage->ToAnsi(text);
}

namespace TnTarvenixUtils {

std::u16string ProgramFolder() {
    const auto args = platform::Current().process->Arguments();
    if (args.empty()) return {};
    const auto& exe = args[0];
    const auto last = exe.find_last_of(platform::kPathDelimiters);
    return last == std::u16string::npos ? std::u16string() : exe.substr(0, last + 1);
}

std::u16string WritableFolder() { return platform::Current().process->WritableFolder(); }

void LogarAcoesTarvenix(std::u16string_view _AMsg) {
    // The window, the commands and the uploads log from threads of their own;
    // each line is a whole rewrite of the file.
    static std::mutex writing;
    const std::lock_guard lock(writing);
    auto& services = platform::Current();
    if (!services.files->FileExists(ProgramFolder() + u"logar_Tarvenix")) return;
    const auto now = services.clock->Now();
    const char16_t date = services.locale->DateSeparator(), time = services.locale->TimeSeparator();
    const std::u16string line = TwoDigits(now.day) + date + TwoDigits(now.month) + date +
                                PreencherAEsquerda(IntToText(now.year), 4, u"0") + u" " + TwoDigits(now.hour) +
                                time + TwoDigits(now.minute) + time + TwoDigits(now.second) + u" - " +
                                std::u16string(_AMsg);
    GravarArquivo(line, PegarDirTemp() + platform::kPathSeparator + u"TarvenixLog.txt", true);
}

void GravarArquivo(std::u16string_view _AConteudo, const std::u16string& _APath, bool _AAppend) {
    // An append rewrites the whole file: the process must not end half-way.
    const platform::FileWriteHold hold;
    auto& files = *platform::Current().files;
    TextFileLines file;
    if (_AAppend && files.FileExists(_APath)) {
        file = DecodeTextFile(files.ReadFile(_APath));
        file.lines.emplace_back(_AConteudo);
    } else {
        file.lines = SplitLines(_AConteudo);
    }
    files.WriteFile(_APath, EncodeTextFile(file));
}

std::u16string PegarConteudoArquivo(const std::u16string& _ANomeArquivo) {
    std::u16string text;
    for (const auto& line : DecodeTextFile(platform::Current().files->ReadFile(_ANomeArquivo)).lines)
        text += line + u"\r\n";
    return text;
}

std::u16string PegarCriarDiretorio(std::u16string_view _ADir) {
    auto& files = *platform::Current().files;
    std::u16string result = WritableFolder();
    for (const auto& component : StrToStrArray(_ADir, platform::kPathSeparator)) {
        if (Trim(component).empty()) continue;
        result += platform::kPathSeparator + component;
        if (!files.DirectoryExists(result)) files.CreateDirectory(result);
    }
    return result + platform::kPathSeparator;
}

std::u16string PegarDirTemp() { return u"temp"; }

std::u16string PegarCriarPastaTemp() {
    auto& files = *platform::Current().files;
    const std::u16string result = WritableFolder() + u"temp" + platform::kPathSeparator;
    if (!files.DirectoryExists(result)) files.CreateDirectory(result);
    return result;
}

void DeleteFolder(const std::u16string& FolderName, platform::WindowHandle _AHandle) {
    platform::Current().files->DeleteFolder(FolderName, _AHandle);
}

int MyMessageDlg(const std::u16string& Msg, platform::DialogKind DlgTypt, platform::DialogButtons button,
                 const std::vector<std::u16string>& Caption, const std::u16string& dlgcaption) {
    return platform::Current().dialogs->MessageDlg(Msg, DlgTypt, button, Caption, dlgcaption);
}

int StandardMessageDlg(const std::u16string& Msg, platform::DialogKind DlgTypt, platform::DialogButtons button) {
    return platform::Current().dialogs->MessageDlg(Msg, DlgTypt, button, {}, std::nullopt);
}

}  // namespace TnTarvenixUtils
