#include "platform/win32/Win32Text.h"

#include "support/TextUtils.h"

namespace platform {

namespace {

std::u16string MessageIn(DWORD error, DWORD language) {
    wchar_t* buffer = nullptr;
    const DWORD n = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                         FORMAT_MESSAGE_IGNORE_INSERTS,
                                     nullptr, error, language, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::u16string text = n ? Trim(FromWide(buffer, n)) : std::u16string();
    if (buffer) ::LocalFree(buffer);
    return text;
}

// For a Windows without its Brazilian Portuguese texts: the errors files meet.
std::u16string_view OwnText(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND: return u"O sistema não pode encontrar o arquivo especificado.";
        case ERROR_PATH_NOT_FOUND: return u"O sistema não pode encontrar o caminho especificado.";
        case ERROR_ACCESS_DENIED: return u"Acesso negado.";
        case ERROR_SHARING_VIOLATION:
        case ERROR_LOCK_VIOLATION: return u"O arquivo está sendo usado por outro processo.";
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL: return u"Não há espaço suficiente no disco.";
        case ERROR_WRITE_PROTECT: return u"A mídia está protegida contra gravação.";
        case ERROR_FILENAME_EXCED_RANGE: return u"O nome do arquivo ou a extensão é muito grande.";
        case ERROR_INVALID_NAME:
            return u"A sintaxe do nome do arquivo, do nome do diretório ou do rótulo do volume está incorreta.";
        case ERROR_TOO_MANY_OPEN_FILES: return u"O sistema não pode abrir o arquivo.";
        default: return {};
    }
}

}  // namespace

std::u16string SystemErrorText(DWORD error) {
    // Brazilian Portuguese where the system has it, whatever its own language.
    std::u16string text = MessageIn(error, MAKELANGID(LANG_PORTUGUESE, SUBLANG_PORTUGUESE_BRAZILIAN));
    if (text.empty()) text = OwnText(error);
    if (text.empty()) text = MessageIn(error, 0);
    return text.empty() ? u"Erro do sistema " + IntToText(error) + u"." : text;
}

}  // namespace platform
