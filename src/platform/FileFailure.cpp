#include "platform/FileFailure.h"

namespace platform {

Failure FileFailure(FileStep step, std::u16string_view path, std::u16string_view reason) {
    std::u16string_view what;
    switch (step) {
        case FileStep::Open: what = u"abrir"; break;
        case FileStep::Read: what = u"ler"; break;
        case FileStep::Create: what = u"criar"; break;
        case FileStep::Write: what = u"gravar"; break;
    }
    return Failure(u"Não foi possível " + std::u16string(what) + u" o arquivo \"" + std::u16string(path) + u"\". " +
                   std::u16string(reason));
}

}  // namespace platform
