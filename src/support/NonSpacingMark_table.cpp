#include "support/NonSpacingMark.h"

#include <algorithm>
#include <iterator>

namespace {

struct Range {
    char32_t first, last;
};

// Written at build time from utf8proc's data by tools/mark-table.
constexpr Range kMarks[] = {
#include "NonSpacingMarks.inc"
};

}  // namespace

bool IsNonSpacingMark(char32_t code) {
    const auto after = std::upper_bound(std::begin(kMarks), std::end(kMarks), code,
                                        [](char32_t c, const Range& r) { return c < r.first; });
    return after != std::begin(kMarks) && code <= std::prev(after)->last;
}
