#include "FuzzInput.h"
#include "startup/nTarvenixClasses_U.h"
#include "support/NonSpacingMark.h"
#include "support/TextUtils.h"

// Properties: a found value is one of the list's own value fields, never
// longer than the list; a key looked up in a list built from plain pairs
// finds the first pair with that key.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text = TextFromBytes(data, size);
    const size_t split = text.find(u'\n');
    const std::u16string key = text.substr(0, split);
    const std::u16string dic = split == std::u16string::npos ? std::u16string() : text.substr(split + 1);

    const std::u16string value = TnTarvenixUtils::GetValorParametro(key, dic);
    Check(value.size() <= dic.size());
    if (!value.empty()) {
        bool found = false;
        for (const auto& item : TnTarvenixUtils::StrToStrArray(dic, u';')) {
            auto pair = TnTarvenixUtils::StrToStrArray(item, u'=');
            found = found || (pair.size() == 2 && pair[1] == value);
        }
        Check(found);
    }

    // key=value pairs without the list's special characters.
    auto plain = [](std::u16string s) {
        std::u16string out;
        for (char16_t c : s)
            if (c != u';' && c != u'=' && c != u'"' && c > 0x20 && (c < 0xD800 || c > 0xDFFF) && !IsNonSpacingMark(c))
                out += c;
        return out;
    };
    const std::u16string k = plain(key);
    if (k.empty()) return 0;
    const std::u16string first = plain(dic), list = k + u"=" + first + u";" + AsciiUpper(k) + u"=second";
    Check(TnTarvenixUtils::GetValorParametro(k, list) == first);
    return 0;
}
