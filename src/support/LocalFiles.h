#pragma once
// The action log, whole text files, folders below the program's folder and
// the silent folder deletion.

#include "platform/Dialogs.h"

#include <string>
#include <string_view>
#include <vector>

namespace TnTarvenixUtils {

// The folder part of the executable's own path, ending with the separator.
// What the program only reads lies here.
std::u16string ProgramFolder();
// Where everything the program writes goes, ending with the separator: the
// program's folder when the user may write there, otherwise a folder of the
// user's own with the same layout below it.
std::u16string WritableFolder();

void LogarAcoesTarvenix(std::u16string_view _AMsg);
void GravarArquivo(std::u16string_view _AConteudo, const std::u16string& _APath, bool _AAppend);
std::u16string PegarConteudoArquivo(const std::u16string& _ANomeArquivo);
std::u16string PegarCriarDiretorio(std::u16string_view _ADir);
std::u16string PegarDirTemp();
std::u16string PegarCriarPastaTemp();
void DeleteFolder(const std::u16string& FolderName, platform::WindowHandle _AHandle);

// Titled `dlgcaption` as it is, also when it is empty.
int MyMessageDlg(const std::u16string& Msg, platform::DialogKind DlgTypt, platform::DialogButtons button,
                 const std::vector<std::u16string>& Caption, const std::u16string& dlgcaption);
// The platform's standard message dialog, titled after its kind.
int StandardMessageDlg(const std::u16string& Msg, platform::DialogKind DlgTypt, platform::DialogButtons button);

}  // namespace TnTarvenixUtils

// Text encodings a text file can carry; only ANSI files have no mark.
enum class TextFileEncoding { Ansi, Utf8, Utf16LE, Utf16BE };

struct TextFileLines {
    TextFileEncoding encoding = TextFileEncoding::Ansi;
    std::vector<std::u16string> lines;
};

// Decodes a file's bytes by its byte-order mark and splits it at CR LF, CR
// or LF; a final line break makes no extra empty line.
TextFileLines DecodeTextFile(std::string_view bytes);
// Encodes lines, each followed by CR LF, with the encoding's mark.
std::string EncodeTextFile(const TextFileLines& file);
std::vector<std::u16string> SplitLines(std::u16string_view text);
