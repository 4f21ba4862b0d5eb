#include "FuzzInput.h"
#include "startup/nTarvenixClasses_U.h"

// Properties: the split never reads past the text; quoting every field and
// joining them gives the same fields back; text without quotes and combining
// marks joins back to itself.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    static constexpr char16_t kSeparators[] = {u';', u'|', u'=', u'/', u'.', u'\\', u'"', u' '};
    const char16_t sep = kSeparators[data[0] % 8];
    const std::u16string text = TextFromBytes(data + 1, size - 1);

    const auto fields = TnTarvenixUtils::StrToStrArray(text, sep);
    Check(fields.size() <= text.size() + 1);
    Check(text.empty() == fields.empty());
    if (sep == u'"') return 0;  // the quote cannot also separate quoted fields

    std::u16string quoted;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i) quoted += sep;
        quoted += u'"';
        for (char16_t c : fields[i]) quoted += c == u'"' ? std::u16string(u"\"\"") : std::u16string(1, c);
        quoted += u'"';
    }
    Check(TnTarvenixUtils::StrToStrArray(quoted, sep) == fields);

    bool plain = text.find(u'"') == std::u16string::npos;
    for (char16_t c : text) plain = plain && !IsCombiningMark(c);
    if (plain) {
        std::u16string joined;
        for (size_t i = 0; i < fields.size(); ++i) joined += (i ? std::u16string(1, sep) : u"") + fields[i];
        Check(joined == text);
    }
    return 0;
}
