#include "platform/win32/Win32Locale.h"

#include "platform/win32/Win32Text.h"

namespace platform {

namespace {

std::u16string UserLocaleText(LCTYPE item, std::u16string_view fallback) {
    wchar_t buffer[128];
    const int n = ::GetLocaleInfoW(LOCALE_USER_DEFAULT, item, buffer, static_cast<int>(std::size(buffer)));
    if (n <= 1) return std::u16string(fallback);
    return FromWide(buffer, static_cast<size_t>(n - 1));
}

// Where day, month and year stand in a short date picture such as
// "dd-MMM-yyyy" or "dddd, d 'de' MMMM": "ddd" and "dddd" are the weekday,
// "g" the era, quoted runs literal text.
std::array<DatePart, 3> OrderOf(std::u16string_view picture) {
    size_t day = std::u16string::npos, month = std::u16string::npos, year = std::u16string::npos;
    for (size_t i = 0; i < picture.size();) {
        const char16_t c = picture[i];
        if (c == u'\'') {
            const size_t end = picture.find(u'\'', i + 1);
            i = end == std::u16string_view::npos ? picture.size() : end + 1;
            continue;
        }
        size_t run = 1;
        while (i + run < picture.size() && picture[i + run] == c) ++run;
        if (c == u'd' && run <= 2 && day == std::u16string::npos) day = i;
        if (c == u'M' && month == std::u16string::npos) month = i;
        if (c == u'y' && year == std::u16string::npos) year = i;
        i += run;
    }
    return DateOrder(day, month, year);
}

// The picture with a year of one or two digits widened to four: the token's
// date is read back as a whole year, and "23" would become "0023".
std::u16string WithWholeYear(std::u16string_view picture) {
    std::u16string widened;
    for (size_t i = 0; i < picture.size();) {
        const char16_t c = picture[i];
        if (c == u'\'') {
            const size_t end = picture.find(u'\'', i + 1);
            const size_t next = end == std::u16string_view::npos ? picture.size() : end + 1;
            widened.append(picture.substr(i, next - i));
            i = next;
            continue;
        }
        size_t run = 1;
        while (i + run < picture.size() && picture[i + run] == c) ++run;
        if (c == u'y' && run <= 2) widened += u"yyyy";
        else widened.append(picture.substr(i, run));
        i += run;
    }
    return widened;
}

}  // namespace

ShortDate Win32Locale::WriteShortDate(const LocalDateTime& date) {
    SYSTEMTIME when{};
    when.wYear = static_cast<WORD>(date.year);
    when.wMonth = static_cast<WORD>(date.month);
    when.wDay = static_cast<WORD>(date.day);
    FILETIME asFileTime{};
    if (::SystemTimeToFileTime(&when, &asFileTime)) ::FileTimeToSystemTime(&asFileTime, &when);  // the weekday
    const std::u16string picture = UserLocaleText(LOCALE_SSHORTDATE, u"dd/MM/yyyy");
    const std::u16string whole = WithWholeYear(picture);
    // The system writes the date (names of months and days, eras, its own
    // digits); only a short year is given as the whole year.
    wchar_t text[256];
    const int n = ::GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, whole == picture ? DATE_SHORTDATE : 0, &when,
                                    whole == picture ? nullptr : Wide(whole), text,
                                    static_cast<int>(std::size(text)), nullptr);
    return {n > 1 ? FromWide(text, static_cast<size_t>(n - 1)) : std::u16string(), OrderOf(picture)};
}

char16_t Win32Locale::DateSeparator() { return UserLocaleText(LOCALE_SDATE, u"/").front(); }

char16_t Win32Locale::TimeSeparator() { return UserLocaleText(LOCALE_STIME, u":").front(); }

}  // namespace platform
