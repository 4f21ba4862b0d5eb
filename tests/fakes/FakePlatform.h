#pragma once
// In-memory stand-ins for every operating-system service, installed for the
// lifetime of a FakePlatform. Tests script the answers and read what the
// code asked for.

#include "platform/Platform.h"
#include "support/Failure.h"

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace fakes {

class ProcessEnvironment : public platform::IProcessEnvironment {
public:
    std::vector<std::u16string> arguments{ExecutablePath()};
    // "<sep>app<sep>PTarveNixApp", so the program's folder is "<sep>app<sep>".
    static std::u16string ExecutablePath() {
        const std::u16string sep(1, platform::kPathSeparator);
        return sep + u"app" + sep + u"PTarveNixApp";
    }
    std::u16string osName = u"Windows 10";
    // The user's own folder, and the one written in: by default the
    // program's folder, as when the user may write there.
    std::u16string userDataFolder = platform::kPathSeparator + std::u16string(u"home") + platform::kPathSeparator +
                                    u"ana" + platform::kPathSeparator + u"tarvenix" + platform::kPathSeparator;
    std::optional<std::u16string> writableFolder;
    std::vector<std::u16string> Arguments() override { return arguments; }
    std::u16string OperatingSystemName() override { return osName; }
    std::u16string UserDataFolder() override { return userDataFolder; }
    std::u16string WritableFolder() override {
        if (writableFolder) return *writableFolder;
        const auto last = arguments.front().find_last_of(platform::kPathDelimiters);
        return last == std::u16string::npos ? std::u16string() : arguments.front().substr(0, last + 1);
    }
};

class Shell : public platform::IShell {
public:
    std::vector<std::u16string> opened;
    std::vector<std::u16string> started;
    std::vector<std::u16string> folders;
    void OpenUrl(const std::u16string& address) override { opened.push_back(address); }
    void StartMinimized(const std::u16string& executable) override { started.push_back(executable); }
    void OpenFolder(const std::u16string& folder) override { folders.push_back(folder); }
};

class FileSystem : public platform::IFileSystem {
public:
    std::map<std::u16string, std::string> files;
    std::set<std::u16string> directories;
    std::set<std::u16string> unwritable;  // paths whose writes fail, folders no file can be created in
    std::vector<std::u16string> created;
    std::vector<std::u16string> deleted;

    bool FileExists(const std::u16string& path) override { return files.count(path) > 0; }
    bool DirectoryExists(const std::u16string& path) override { return directories.count(path) > 0; }
    bool CreateDirectory(const std::u16string& path) override {
        created.push_back(path);
        return directories.insert(path).second;
    }
    bool CanCreateFileIn(const std::u16string& folder) override { return unwritable.count(folder) == 0; }
    std::string ReadFile(const std::u16string& path) override {
        auto it = files.find(path);
        if (it == files.end()) throw Failure(u"Cannot open file \"" + path + u"\". No such file or directory");
        return it->second;
    }
    void WriteFile(const std::u16string& path, std::string_view bytes) override {
        if (unwritable.count(path)) throw Failure(u"Cannot create file \"" + path + u"\". Permission denied");
        files[path] = std::string(bytes);
    }
    std::int64_t GetFileSize(const std::u16string& path) override {
        auto it = files.find(path);
        return it == files.end() ? -1 : static_cast<std::int64_t>(it->second.size());
    }
    void DeleteFolder(const std::u16string& folder, platform::WindowHandle) override { deleted.push_back(folder); }
};

// Latin-1 stands in for the ANSI code page: every byte is one character and
// characters beyond U+00FF become "?".
class CodePage : public platform::ICodePage {
public:
    std::string ToAnsi(std::u16string_view text) override {
        std::string out;
        for (char16_t c : text) out += c < 256 ? static_cast<char>(c) : '?';
        return out;
    }
    std::u16string FromAnsi(std::string_view bytes) override {
        std::u16string out;
        for (char b : bytes) out += static_cast<char16_t>(static_cast<unsigned char>(b));
        return out;
    }
};

class Locale : public platform::ILocale {
public:
    // The system's text for any date; empty: the date written d/M/yyyy.
    std::u16string written;
    std::array<platform::DatePart, 3> order{platform::DatePart::Day, platform::DatePart::Month,
                                            platform::DatePart::Year};
    char16_t dateSeparator = u'/';
    char16_t timeSeparator = u':';
    platform::ShortDate WriteShortDate(const platform::LocalDateTime& date) override {
        if (!written.empty()) return {written, order};
        const std::string text =
            std::to_string(date.day) + "/" + std::to_string(date.month) + "/" + std::to_string(date.year);
        return {std::u16string(text.begin(), text.end()), order};
    }
    char16_t DateSeparator() override { return dateSeparator; }
    char16_t TimeSeparator() override { return timeSeparator; }
};

class Clock : public platform::IClock {
public:
    platform::LocalDateTime now{2023, 6, 5, 13, 5, 9, 0};
    int slept = 0;
    std::vector<int> sleeps;
    std::function<void(int)> onSleep;
    platform::LocalDateTime Now() override { return now; }
    void Sleep(int milliseconds) override {
        slept += milliseconds;
        sleeps.push_back(milliseconds);
        if (onSleep) onSleep(milliseconds);
    }
};

class Registry : public platform::IRegistry {
public:
    struct Value {
        std::u16string text;
        bool isText = true;
    };
    bool keyExists = true;
    std::map<std::u16string, Value> values;
    std::u16string openedPath;
    int openKeys = 0;  // keys opened and not yet closed

    class Key : public platform::IRegistryKey {
    public:
        explicit Key(Registry& owner) : owner_(owner) { ++owner_.openKeys; }
        ~Key() override { --owner_.openKeys; }
        std::optional<std::u16string> ReadString(const std::u16string& name) override {
            auto it = owner_.values.find(name);
            if (it == owner_.values.end()) return std::nullopt;
            if (!it->second.isText) throw Failure(u"Invalid data type for '" + name + u"'");
            return it->second.text;
        }

    private:
        Registry& owner_;
    };

    std::unique_ptr<platform::IRegistryKey> OpenLocalMachineKey(const std::u16string& path) override {
        openedPath = path;
        if (!keyExists) return nullptr;
        return std::make_unique<Key>(*this);
    }
};

class WindowFinder : public platform::IWindowFinder {
public:
    std::map<std::u16string, platform::WindowHandle> windows;
    std::vector<std::u16string> searched;
    std::vector<std::pair<std::string, platform::WindowHandle>> calls;
    std::optional<platform::WindowHandle> FindTopLevelWindow(const std::u16string& title) override {
        searched.push_back(title);
        auto it = windows.find(title);
        if (it == windows.end()) return std::nullopt;
        return it->second;
    }
    void RestoreWindow(platform::WindowHandle w) override { calls.emplace_back("restore", w); }
    void SetForegroundWindow(platform::WindowHandle w) override { calls.emplace_back("foreground", w); }
    void FlashWindow(platform::WindowHandle w) override { calls.emplace_back("flash", w); }
};

class Dialogs : public platform::IDialogs {
public:
    struct Shown {
        std::u16string text;
        platform::DialogKind kind = platform::DialogKind::Custom;
        std::vector<platform::DialogButton> buttons;
        std::vector<std::u16string> captions;
        platform::DialogTitle title;
    };
    std::vector<Shown> shown;               // message dialogs, in order
    std::vector<std::u16string> messages;   // plain message boxes, in order
    std::vector<std::u16string> prompts;    // open-file dialog titles
    std::deque<int> answers;                // scripted results; ResultNone when empty
    std::deque<std::u16string> files;       // scripted open-file answers; empty = cancel
    std::u16string lastFilter, lastDefaultExtension;
    platform::FileListing lastListing = platform::FileListing::Matching;

    int MessageDlg(const std::u16string& text, platform::DialogKind kind, platform::DialogButtons buttons,
                   const std::vector<std::u16string>& captions, const platform::DialogTitle& title) override {
        shown.push_back({text, kind, buttons.InOrder(), captions, title});
        if (answers.empty()) return platform::ResultNone;
        int a = answers.front();
        answers.pop_front();
        return a;
    }
    void ShowMessage(const std::u16string& text) override { messages.push_back(text); }
    std::u16string PromptOpenFile(const std::u16string& title, const std::u16string& filter,
                                  const std::u16string& defaultExtension, platform::FileListing listing) override {
        prompts.push_back(title);
        lastFilter = filter;
        lastDefaultExtension = defaultExtension;
        lastListing = listing;
        if (files.empty()) return {};
        auto f = files.front();
        files.pop_front();
        return f;
    }
};

class ProcessRunner : public platform::IProcessRunner {
public:
    struct Run {
        std::u16string commandLine, workFolder;
        std::chrono::milliseconds limit;
    };
    std::vector<Run> runs;
    std::function<std::u16string(const std::u16string&, const std::u16string&)> respond;
    std::u16string GetDosOutput(const std::u16string& commandLine, const std::u16string& workFolder,
                                std::chrono::milliseconds limit) override {
        runs.push_back({commandLine, workFolder, limit});
        return respond ? respond(commandLine, workFolder) : std::u16string();
    }
};

struct FakePlatform {
    ProcessEnvironment process;
    Shell shell;
    FileSystem files;
    CodePage codePage;
    Locale locale;
    Clock clock;
    Registry registry;
    WindowFinder windows;
    Dialogs dialogs;
    ProcessRunner processes;
    platform::ScopedServices installed{platform::Services{&process, &shell, &files, &codePage, &locale, &clock,
                                                          &registry, &windows, &dialogs, &processes}};

    // Arguments after the executable's own path.
    void SetArguments(std::vector<std::u16string> args) {
        args.insert(args.begin(), process.arguments.front());
        process.arguments = std::move(args);
    }
};

}  // namespace fakes
