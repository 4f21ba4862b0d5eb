#pragma once
// The fixed values of the remote-assistance tools for the operating system
// this program is built for: where they install, what their executable is
// called and how their command lines are written. Each system has its own
// implementation file; the connectors' rules stay the same everywhere.

#include "platform/Dialogs.h"
#include "startup/nTarvenixClasses_U.h"

#include <string>
#include <string_view>

namespace remote_tools {

// Candidate folders, in search order, each ending with the path separator.
TStringArray TightVncFolders();
TStringArray RealVncFolders();
// AnyDesk's fixed folders; the connector adds the program's own folder.
TStringArray AnyDeskFolders();

// How the user is asked for a tool's executable that no folder holds: the
// open-file dialog's filter, the extension added to a name typed without
// one, and the files listed.
struct ExecutablePrompt {
    std::u16string filter;
    std::u16string defaultExtension;
    platform::FileListing listing;
};
ExecutablePrompt ExecutablePromptValues();

std::u16string TightVncExecutable();
std::u16string RealVncExecutable();
std::u16string AnyDeskExecutable();

// TightVNC's lines; "{ip}" stands for the attendant's address.
TStringArray TightVncConnectLines();
TStringArray TightVncDisconnectLines();

// RealVNC's lines for a RealVNC address (first colon already doubled).
// The listed connect line is kept for completeness; connecting uses the
// "-iconnect" form.
std::u16string RealVncListedConnectLine(std::u16string_view address);
std::u16string RealVncIConnectLine(std::u16string_view address);
std::u16string RealVncDisconnectLine();

// A path as one word for the command interpreter the runner uses, so that
// blanks and other special characters in it do not split a redirection.
std::u16string QuoteForCommandInterpreter(std::u16string_view path);

}  // namespace remote_tools
