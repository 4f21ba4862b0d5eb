#include "windows/ChatUploads.h"

#include "platform/Platform.h"
#include "support/LocalFiles.h"
#include "support/ScriptText.h"
#include "support/TextUtils.h"
#include "windows/UploadReply.h"
#include "windows/UploadTransport.h"

namespace {

constexpr std::u16string_view kUploadErrorPrefix = u"Ocorreu um erro ao enviar a imagem:";
constexpr int kScreenshotQuality = 90;

void AppendTwoDigits(std::u16string& out, int value) {
    out += static_cast<char16_t>(u'0' + value / 10 % 10);
    out += static_cast<char16_t>(u'0' + value % 10);
}

}  // namespace

namespace TnTarvenixUtils {

std::string CapturaTelaJpg(IChatUploadWindow& _AWinControl) {
    std::string jpeg = EncodeJpeg(_AWinControl.CaptureScreen(), kScreenshotQuality);
    _AWinControl.RepaintWindow();
    return jpeg;
}

std::u16string PromptOpenFile(const TStringArray& _AExtensoesPermitidas, platform::IDialogs* dialogs) {
    std::u16string filter;
    if (!_AExtensoesPermitidas.empty()) {
        std::u16string patterns;
        for (const auto& extension : _AExtensoesPermitidas) {
            if (!patterns.empty()) patterns += u';';
            patterns += u"*." + Trim(extension);
        }
        filter = u"Arquivos permitidos (" + patterns + u")|" + patterns + u"|";
    }
    filter += u"All files (*.*)|*.*";
    return (dialogs ? *dialogs : *platform::Current().dialogs)
        .PromptOpenFile(u"Selecione um arquivo para enviar ao atendente", filter, u"", platform::FileListing::Matching);
}

std::int64_t GetFileSize(const std::u16string& _AFileName) { return platform::Current().files->GetFileSize(_AFileName); }

std::int64_t ConvertMbToBytes(std::int32_t _AMb) { return static_cast<std::int64_t>(_AMb) * 1048576; }

bool FileSizeGreaterThanMbSize(const std::u16string& _AFileName, std::int32_t _AMbLimit) {
    return GetFileSize(_AFileName) > ConvertMbToBytes(_AMbLimit);
}

}  // namespace TnTarvenixUtils

std::u16string FileExtension(const std::u16string& path) {
    const auto cut = path.find_last_of(platform::kPathDelimiters);
    const std::u16string name = cut == std::u16string::npos ? path : path.substr(cut + 1);
    const auto dot = name.rfind(u'.');
    return dot == std::u16string::npos ? std::u16string() : name.substr(dot + 1);
}

std::u16string ScreenshotFileName(const platform::LocalDateTime& when) {
    std::u16string name = u"ScreenShot_";
    AppendTwoDigits(name, when.day);
    AppendTwoDigits(name, when.month);
    AppendTwoDigits(name, when.year / 100);
    AppendTwoDigits(name, when.year);
    AppendTwoDigits(name, when.hour);
    AppendTwoDigits(name, when.minute);
    AppendTwoDigits(name, when.second);
    return name + u".jpg";
}

TThreadHttpPost::TMetodo UploadFunction(std::u16string urlRoot, std::u16string path,
                                        std::weak_ptr<TThreadHttpPost> thread) {
    return [urlRoot = std::move(urlRoot), path = std::move(path), thread = std::move(thread)]() -> std::u16string {
        // The window reads this mark to know whether an upload of this kind
        // still runs, so it is set on every way out.
        struct MarkOnExit {
            const std::weak_ptr<TThreadHttpPost>& thread;
            ~MarkOnExit() {
                if (auto running = thread.lock()) running->Terminate();
            }
        } mark{thread};
        return TnTarvenixUtils::SendPostData(urlRoot + u"/arquivo/upload", path);
    };
}

bool ChatUploads::ReleaseFinished(UploadSlot& slot) {
    using State = UploadSlot::State;
    State running = State::Running;
    if (slot.state == running) {
        if (!slot.thread->Terminated()) return false;
        slot.state.compare_exchange_strong(running, State::Completing);
    }
    if (slot.state == State::Completing) {
        // Its completion still has to run on the window thread: the page's
        // button and file come before a new upload of the same kind.
        if (window_.GetWindowThread()->OnWindowThread()) return false;
        slot.thread->WaitFor();
    }
    slot.thread.reset();
    slot.state = State::Idle;
    return true;
}

void ChatUploads::StartUpload(UploadSlot& slot, const std::u16string& path, const std::u16string& startScript,
                              void (ChatUploads::*completion)(TThreadHttpPost&)) {
    // The completion runs only while the window thread is open, and the
    // window closes it before this object goes.
    auto thread = TThreadHttpPost::CreateSuspended(
        [windowThread = window_.GetWindowThread()](const std::function<void()>& work) { windowThread->Call(work); });
    slot.thread = thread;
    slot.state = UploadSlot::State::Running;
    thread->SetMetodo(UploadFunction(window_.GetUrlRoot(), path, thread));
    window_.RunScript(startScript);
    thread->SetOnTerminate([this, completion, &slot](TThreadHttpPost& Sender) {
        (this->*completion)(Sender);
        slot.state = UploadSlot::State::Idle;
    });
    thread->Start();
}

void ChatUploads::Join() {
    for (UploadSlot* slot : {&FThreadScreenshot, &FThreadUpload})
        if (slot->thread) slot->thread->WaitFor();
}

void ChatUploads::PrintScreenClient() {
    window_.HideWindow();
    const auto showAgain = [this] {
        window_.ShowWindow();
        window_.RepaintWindow();
        window_.RepaintBrowser();
    };
    try {
        if (ReleaseFinished(FThreadScreenshot)) {
            auto& services = platform::Current();
            // Lets the screen redraw what lay behind the hidden window.
            services.clock->Sleep(500);
            const std::string jpeg = TnTarvenixUtils::CapturaTelaJpg(window_);
            const std::u16string name = ScreenshotFileName(services.clock->Now());
            const std::u16string sep(1, platform::kPathSeparator);
            const std::u16string folder = TnTarvenixUtils::PegarCriarDiretorio(u"temp" + sep + u"Tarvenix_screenshots" + sep);
            ANomeArqCompleto = folder + name;
            services.files->WriteFile(ANomeArqCompleto, jpeg);
            StartUpload(FThreadScreenshot, ANomeArqCompleto, u"notifySendPrintScreen()",
                        &ChatUploads::ThreadScreenshotTerminate);
        }
    } catch (...) {
        showAgain();
        throw;
    }
    showAgain();
}

void ChatUploads::FileUploadClient(const TStringArray& fields) {
    if (!ReleaseFinished(FThreadUpload)) return;
    const std::u16string AFile = TnTarvenixUtils::PromptOpenFile({}, &window_.Dialogs());
    if (AFile.empty()) return;
    bool accepted = false;
    if (!TnTarvenixUtils::FileSizeGreaterThanMbSize(AFile, 10)) {
        const std::u16string allowed = fields.size() > 1 ? fields[1] : std::u16string();
        accepted = TnTarvenixUtils::InArrayIgnoreCase(FileExtension(AFile), TnTarvenixUtils::StrToStrArray(allowed, u';'));
    }
    if (!accepted) {
        window_.RunScript(u"enabledButton(\".fileinput-button\")");
        window_.RunScript(u"processfailSendFile()");
        return;
    }
    StartUpload(FThreadUpload, AFile, u"notifySendFile()", &ChatUploads::ThreadUploadTerminate);
}

void ChatUploads::ConcluirEnvioArquivo(TThreadHttpPost& thread, const std::u16string& selector,
                                       const std::u16string& prefix) {
    window_.RunScript(u"enabledButton(\"" + selector + u"\")");
    if (!thread.Erro().empty()) {
        TnTarvenixUtils::StandardMessageDlg(prefix + u" " + thread.Erro(), platform::DialogKind::Error,
                                            {platform::DialogButton::OK});
        return;
    }
    const UploadedFile file = ReadUploadReply(thread.Retorno(), *platform::Current().codePage);
    // Decoded as the page would decode them in a literal, then escaped, so
    // the page gets the same values and never code.
    window_.RunScript(u"uploadFile(\"" + EscapeForScriptString(DecodeJsonStringEscapes(file.name)) + u"\", \"" +
                      EscapeForScriptString(DecodeJsonStringEscapes(file.address)) + u"\")");
}

void ChatUploads::ThreadScreenshotTerminate(TThreadHttpPost& Sender) {
    ConcluirEnvioArquivo(Sender, u".screenshot-button", std::u16string(kUploadErrorPrefix));
}

void ChatUploads::ThreadUploadTerminate(TThreadHttpPost& Sender) {
    ConcluirEnvioArquivo(Sender, u".fileinput-button", std::u16string(kUploadErrorPrefix));
}
