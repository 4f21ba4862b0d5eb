#include "platform/posix/PosixErrorText.h"

#include "support/TextUtils.h"

#include <cerrno>
#include <cstring>

namespace platform {

std::u16string PosixErrorText(int error) {
    // The C library speaks the locale's language only where its translations
    // are installed; a bare system has none.
    switch (error) {
        case ENOENT: return u"Arquivo ou diretório inexistente";
        case EACCES:
        case EPERM: return u"Permissão negada";
        case EROFS: return u"Sistema de arquivos somente para leitura";
        case ENOSPC: return u"Não há espaço disponível no dispositivo";
        case EDQUOT: return u"Cota de disco excedida";
        case EISDIR: return u"É um diretório";
        case ENOTDIR: return u"Não é um diretório";
        case EEXIST: return u"O arquivo já existe";
        case ENAMETOOLONG: return u"Nome de arquivo muito longo";
        case EMFILE:
        case ENFILE: return u"Arquivos abertos demais";
        case EIO: return u"Erro de entrada e saída";
        case EBUSY:
        case ETXTBSY: return u"O arquivo está em uso";
        case ELOOP: return u"Níveis demais de links simbólicos";
        case EFBIG: return u"Arquivo grande demais";
        default: return FromUtf8(std::strerror(error));
    }
}

}  // namespace platform
