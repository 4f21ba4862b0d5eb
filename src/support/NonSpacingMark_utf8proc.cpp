#include "support/NonSpacingMark.h"

#include <utf8proc.h>

bool IsNonSpacingMark(char32_t code) {
    return code <= 0x10FFFF && utf8proc_category(static_cast<utf8proc_int32_t>(code)) == UTF8PROC_CATEGORY_MN;
}
