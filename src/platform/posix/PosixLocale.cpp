#include "platform/posix/PosixLocale.h"

#include <langinfo.h>
#include <locale.h>
#include <time.h>
#include <wchar.h>

#include <memory>

namespace platform {

namespace {

struct LocaleFree {
    void operator()(locale_t locale) const { freelocale(locale); }
};
using LocaleHandle = std::unique_ptr<std::remove_pointer_t<locale_t>, LocaleFree>;

LocaleHandle TimeLocale(const std::string& name) {
    locale_t locale = newlocale(LC_TIME_MASK, name.c_str(), static_cast<locale_t>(0));
    if (locale == static_cast<locale_t>(0)) locale = newlocale(LC_TIME_MASK, "C", static_cast<locale_t>(0));
    return LocaleHandle(locale);
}

// glibc keeps every LC_TIME text in wide form too, whatever the locale's
// character set.
std::wstring WideItem(locale_t locale, nl_item item, const wchar_t* fallback) {
    const auto* text = reinterpret_cast<const wchar_t*>(nl_langinfo_l(item, locale));
    return text && *text ? std::wstring(text) : std::wstring(fallback);
}

std::u16string FromWide(std::wstring_view text) {
    std::u16string out;
    for (wchar_t c : text) {
        const auto code = static_cast<char32_t>(c);
        if (code < 0x10000) {
            out += static_cast<char16_t>(code);
        } else {
            out += static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10));
            out += static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF));
        }
    }
    return out;
}

bool IsFlag(wchar_t c) { return c == L'-' || c == L'_' || c == L'0' || c == L'^' || c == L'#'; }

// The first character outside the conversions that is not a blank.
char16_t FirstLiteral(std::wstring_view format, char16_t fallback) {
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == L'%') {
            ++i;
            while (i < format.size() && (IsFlag(format[i]) || format[i] == L'E' || format[i] == L'O')) ++i;
            continue;
        }
        if (format[i] != L' ') return FromWide(format.substr(i, 1)).front();
    }
    return fallback;
}

}  // namespace

TokenDateFormat TokenDateFormatFrom(std::wstring_view format) {
    std::wstring out;
    size_t day = std::wstring::npos, month = std::wstring::npos, year = std::wstring::npos;
    size_t yearEnd = std::wstring::npos;
    // Writes a part's conversion, noting where the format first names it.
    auto put = [&out](size_t& at, std::wstring_view text) {
        if (at == std::wstring::npos) at = out.size();
        out += text;
    };
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] != L'%' || i + 1 == format.size()) {
            out += format[i];
            continue;
        }
        size_t j = i + 1;
        while (j < format.size() && IsFlag(format[j])) ++j;
        while (j < format.size() && format[j] >= L'0' && format[j] <= L'9') ++j;
        const std::wstring_view flags = format.substr(i + 1, j - i - 1);
        while (j < format.size() && (format[j] == L'E' || format[j] == L'O')) ++j;
        if (j == format.size()) {
            out += format.substr(i);
            break;
        }
        const wchar_t conversion = format[j];
        switch (conversion) {
            case L'd':
            case L'e':
                put(day, L'%' + std::wstring(flags) + conversion);
                break;
            case L'm':
                put(month, L'%' + std::wstring(flags) + conversion);
                break;
            case L'b':
            case L'B':
            case L'h':
                put(month, format.substr(i, j - i + 1));
                break;
            case L'y':
            case L'Y':
            case L'C':
            case L'G':
            case L'g':
                // A century followed by its year ("%C%y") is one year.
                if (out.size() != yearEnd) {
                    put(year, L"%Y");
                    yearEnd = out.size();
                }
                break;
            case L'D':
                put(month, L"%m/");
                put(day, L"%d/");
                put(year, L"%Y");
                yearEnd = out.size();
                break;
            case L'F':
                put(year, L"%Y-");
                put(month, L"%m-");
                put(day, L"%d");
                break;
            default:
                out += format.substr(i, j - i + 1);
                break;
        }
        i = j;
    }
    return {out, DateOrder(day, month, year)};
}

ShortDate PosixLocale::WriteShortDate(const LocalDateTime& date) {
    const LocaleHandle locale = TimeLocale(name_);
    const TokenDateFormat format = TokenDateFormatFrom(WideItem(locale.get(), _NL_WD_FMT, L"%m/%d/%y"));
    tm when{};
    when.tm_year = date.year - 1900;
    when.tm_mon = date.month - 1;
    when.tm_mday = date.day;
    when.tm_hour = 12;
    tm normalised = when;
    timegm(&normalised);  // the weekday, for formats that name it
    when.tm_wday = normalised.tm_wday;
    when.tm_yday = normalised.tm_yday;
    wchar_t text[256];
    const size_t n = wcsftime_l(text, std::size(text), format.format.c_str(), &when, locale.get());
    return {FromWide(std::wstring_view(text, n)), format.order};
}

char16_t PosixLocale::DateSeparator() {
    const LocaleHandle locale = TimeLocale(name_);
    return FirstLiteral(WideItem(locale.get(), _NL_WD_FMT, L"%m/%d/%y"), u'/');
}

char16_t PosixLocale::TimeSeparator() {
    const LocaleHandle locale = TimeLocale(name_);
    return FirstLiteral(WideItem(locale.get(), _NL_WT_FMT, L"%H:%M:%S"), u':');
}

}  // namespace platform
