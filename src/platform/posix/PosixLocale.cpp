#include "platform/posix/PosixLocale.h"

#include <langinfo.h>
#include <locale.h>

#include <string>

namespace platform {

namespace {

std::string UserTimeFormat(nl_item item, const char* fallback) {
    locale_t user = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(0));
    if (user == static_cast<locale_t>(0)) return fallback;
    std::string format = nl_langinfo_l(item, user);
    freelocale(user);
    return format.empty() ? fallback : format;
}

char16_t FirstLiteral(std::u16string_view pattern, std::u16string_view tokens, char16_t fallback) {
    for (char16_t c : pattern)
        if (tokens.find(c) == std::u16string_view::npos) return c;
    return fallback;
}

}  // namespace

std::u16string DatePatternFromStrftime(std::string_view format) {
    std::u16string pattern;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 == format.size()) {
            pattern += static_cast<char16_t>(static_cast<unsigned char>(format[i]));
            continue;
        }
        char c = format[++i];
        // Skip glibc's flag and modifier characters ("%-d", "%Ey", "%Od").
        while ((c == '-' || c == '_' || c == '0' || c == '^' || c == '#' || c == 'E' || c == 'O') &&
               i + 1 < format.size())
            c = format[++i];
        switch (c) {
            case 'd': pattern += u"dd"; break;
            case 'e': pattern += u"d"; break;
            case 'm': pattern += u"MM"; break;
            case 'y':
            case 'Y':
            case 'C':
            case 'G': pattern += u"yyyy"; break;
            case 'D': pattern += u"MM/dd/yyyy"; break;
            case 'F': pattern += u"yyyy-MM-dd"; break;
            case '%': pattern += u'%'; break;
            default: break;  // names and other fields have no place in a short date
        }
    }
    return pattern;
}

std::u16string PosixLocale::ShortDateFormat() { return DatePatternFromStrftime(UserTimeFormat(D_FMT, "%m/%d/%y")); }

char16_t PosixLocale::DateSeparator() { return FirstLiteral(ShortDateFormat(), u"dMy", u'/'); }

char16_t PosixLocale::TimeSeparator() {
    const std::string format = UserTimeFormat(T_FMT, "%H:%M:%S");
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%') {
            ++i;
            continue;
        }
        if (format[i] != ' ') return static_cast<char16_t>(static_cast<unsigned char>(format[i]));
    }
    return u':';
}

}  // namespace platform
