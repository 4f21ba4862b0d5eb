// Writes utf8proc's non-spacing marks (general category Mn) as the ranges of
// a C++ table, for builds where the library itself is not at hand.
#include <utf8proc.h>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    std::FILE* out = std::fopen(argv[1], "w");
    if (!out) return 1;
    long first = -1;
    for (long code = 0; code <= 0x110000; ++code) {
        const bool mark = code <= 0x10FFFF && utf8proc_category(static_cast<utf8proc_int32_t>(code)) == UTF8PROC_CATEGORY_MN;
        if (mark && first < 0) first = code;
        if (!mark && first >= 0) {
            std::fprintf(out, "{0x%lX, 0x%lX},\n", first, code - 1);
            first = -1;
        }
    }
    std::fprintf(out, "// utf8proc %s\n", utf8proc_version());
    return std::fclose(out) == 0 ? 0 : 1;
}
