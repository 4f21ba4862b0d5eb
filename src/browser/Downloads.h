#pragma once
// Files a page sends. The user says where each one goes with the system's
// save dialog (it starts in the Downloads folder, with the server's name
// made safe); the file is written under a temporary name and takes its own
// only when it is whole, so a failed or cancelled download leaves nothing.
// The user is told how it ended; nothing is ever run or opened by itself.

class QWebEngineDownloadRequest;
class QWidget;

namespace engine {

// Answers the engine's request before returning, as the engine needs. While
// one question is open, further downloads are refused.
void SaveDownload(QWebEngineDownloadRequest& download, QWidget* window);

// The end of the process: the downloads still under way are cancelled and
// what they had written is removed.
void AbandonDownloads();

}  // namespace engine
