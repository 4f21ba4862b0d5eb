#pragma once
// Screenshot and file uploads of the chat window, and what the page is told
// when they end. The window implements IChatUploadWindow and owns one
// ChatUploads.

#include "platform/Dialogs.h"
#include "startup/nTarvenixClasses_U.h"
#include "windows/JpegEncoder.h"
#include "windows/ThreadHttpPost.h"
#include "windows/WindowThread.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class IChatUploadWindow {
public:
    virtual ~IChatUploadWindow() = default;
    virtual void HideWindow() = 0;
    virtual void ShowWindow() = 0;
    virtual void RepaintWindow() = 0;
    virtual void RepaintBrowser() = 0;
    // The primary screen from (0, 0) at its full size, as 24-bit RGB.
    virtual RgbPicture CaptureScreen() = 0;
    // ExecCommandJS on the window's browser.
    virtual void RunScript(const std::u16string& script) = 0;
    virtual std::u16string GetUrlRoot() = 0;
    // Where the uploads' completions run. Shared: an upload that ends after
    // the window has gone still reaches it, and learns that it has closed.
    virtual std::shared_ptr<WindowThread> GetWindowThread() = 0;
    // The dialogs of the uploads' commands, shown by the window thread.
    virtual platform::IDialogs& Dialogs() = 0;
};

namespace TnTarvenixUtils {

// Captures the screen into a quality-90 baseline JPEG, then has the window
// repaint itself.
std::string CapturaTelaJpg(IChatUploadWindow& _AWinControl);

// Shown with `dialogs`; without, with the dialogs in force.
std::u16string PromptOpenFile(const TStringArray& _AExtensoesPermitidas, platform::IDialogs* dialogs = nullptr);
std::int64_t GetFileSize(const std::u16string& _AFileName);
std::int64_t ConvertMbToBytes(std::int32_t _AMb);
bool FileSizeGreaterThanMbSize(const std::u16string& _AFileName, std::int32_t _AMbLimit);

}  // namespace TnTarvenixUtils

// The extension of the file name part of a path, without its dot.
std::u16string FileExtension(const std::u16string& path);

// "ScreenShot_" + ddmmyyyyhhmmss + ".jpg".
std::u16string ScreenshotFileName(const platform::LocalDateTime& when);

// The upload function of a thread: posts `path` to `urlRoot` +
// "/arquivo/upload" and sets the terminated mark of `thread`, whatever
// happens. It holds nothing of the window, which may be gone before it ends.
TThreadHttpPost::TMetodo UploadFunction(std::u16string urlRoot, std::u16string path,
                                        std::weak_ptr<TThreadHttpPost> thread);

// One kind of upload: the thread that runs it and where it stands.
struct UploadSlot {
    enum class State {
        Idle,        // none runs; the last one, if any, has completed
        Running,     // the upload function runs; its terminated mark is not set
        Completing,  // the mark is set; the completion still has to run
    };
    std::atomic<State> state{State::Idle};
    std::shared_ptr<TThreadHttpPost> thread;
};

// The window's two uploads. Their completions run on the window thread and
// only while it is open; the window closes it before this object goes.
class ChatUploads {
public:
    explicit ChatUploads(IChatUploadWindow& window) : window_(window) {}

    void PrintScreenClient();
    void FileUploadClient(const TStringArray& fields);
    void ConcluirEnvioArquivo(TThreadHttpPost& thread, const std::u16string& selector, const std::u16string& prefix);
    void ThreadScreenshotTerminate(TThreadHttpPost& Sender);
    void ThreadUploadTerminate(TThreadHttpPost& Sender);

    const std::shared_ptr<TThreadHttpPost>& ThreadScreenshot() const { return FThreadScreenshot.thread; }
    const std::shared_ptr<TThreadHttpPost>& ThreadUpload() const { return FThreadUpload.thread; }
    // Full path of the last screenshot.
    const std::u16string& NomeArqCompleto() const { return ANomeArqCompleto; }

    // Waits for both uploads' threads to end (tests; the program ends without).
    void Join();

private:
    // False while the slot's upload still runs; otherwise empties the slot,
    // once its completion has run.
    bool ReleaseFinished(UploadSlot& slot);
    void StartUpload(UploadSlot& slot, const std::u16string& path, const std::u16string& startScript,
                     void (ChatUploads::*completion)(TThreadHttpPost&));

    IChatUploadWindow& window_;
    UploadSlot FThreadScreenshot;
    UploadSlot FThreadUpload;
    std::u16string ANomeArqCompleto;
};
