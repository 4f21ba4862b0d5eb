#pragma once
// How the file layer words its failures, in Portuguese on every system:
// what it could not do, the file, and the system's reason.

#include "support/Failure.h"

#include <string>

namespace platform {

enum class FileStep { Open, Read, Create, Write };

// "Não foi possível criar o arquivo "…". " followed by `reason`.
Failure FileFailure(FileStep step, std::u16string_view path, std::u16string_view reason);

}  // namespace platform
