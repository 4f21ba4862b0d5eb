#pragma once

#include <string>

namespace platform {

// The reason for a system error in Portuguese, for the errors files meet;
// the C library's own text for the rest.
std::u16string PosixErrorText(int error);

}  // namespace platform
