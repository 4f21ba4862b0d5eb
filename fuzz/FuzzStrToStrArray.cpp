#include "FuzzInput.h"
#include "startup/nTarvenixClasses_U.h"
#include "support/NonSpacingMark.h"

// Properties: the split never reads past the text; quoting every field and
// joining them gives the same fields back; text without quotes joins back to
// itself less the non-spacing marks that directly follow a separator.
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

    if (text.find(u'"') == std::u16string::npos) {
        std::u16string expected;
        for (size_t i = 0; i < text.size();) {
            expected += text[i];
            if (text[i++] == sep)
                while (const size_t mark = NonSpacingMarkAt(text, i)) i += mark;
        }
        std::u16string joined;
        for (size_t i = 0; i < fields.size(); ++i) joined += (i ? std::u16string(1, sep) : u"") + fields[i];
        Check(joined == expected);
    }
    return 0;
}
