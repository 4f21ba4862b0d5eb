#pragma once
// The end of the process. Once its window has closed the program ends at
// once: tearing the embedded engine down would join a renderer thread that a
// busy page can hold for ever.

namespace platform {

// Holds off the end of the process while a file is being written, so that
// no file is ever left half written.
class FileWriteHold {
public:
    FileWriteHold();
    ~FileWriteHold();
    FileWriteHold(const FileWriteHold&) = delete;
    FileWriteHold& operator=(const FileWriteHold&) = delete;
};

// Ends the process with `exitCode` once a file being written is complete
// (waiting a second at most). Nothing else runs: no destructors, no library
// teardown, no thread is waited for.
[[noreturn]] void EndProcess(int exitCode);

// The system's part of EndProcess: ends the process at once.
[[noreturn]] void EndProcessNow(int exitCode);

// True while a connection of this process is still being opened or still
// holds data it has not delivered; what a page asked to send has then not
// left yet.
bool ConnectionsBusy();

}  // namespace platform
