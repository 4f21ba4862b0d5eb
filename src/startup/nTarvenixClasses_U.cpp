#include "startup/nTarvenixClasses_U.h"

#include "platform/Platform.h"
#include "support/Base64.h"
#include "support/Failure.h"
#include "support/NonSpacingMark.h"
#include "support/TextUtils.h"

#include <algorithm>

namespace {

constexpr std::u16string_view kChatLoginFormat =
    u"%s/ChatWidget/Login/%s&StayConnected=false&EmptySubject=false&StartChat=false";
constexpr std::u16string_view kChatLoginPartFormat = u"%s?Name=%s&Email=%s&OrganizationCodeReference=%s";
constexpr std::u16string_view kServiceFormat = u"%s/api/servicos/%s?token=%s";
constexpr std::u16string_view kChatParameters = u"Url;IDAplicativo;Name;Email;OrganizationCodeReference";

bool IsHexDigit(char16_t c, int& value) {
    if (c >= u'0' && c <= u'9') value = c - u'0';
    else if (c >= u'a' && c <= u'f') value = c - u'a' + 10;
    else if (c >= u'A' && c <= u'F') value = c - u'A' + 10;
    else return false;
    return true;
}

}  // namespace

std::optional<std::int32_t> ParseIntegerText(std::u16string_view text) {
    size_t i = 0;
    while (i < text.size() && text[i] == u' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
    int base = 10;
    if (i < text.size() && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size()) return std::nullopt;
    long long magnitude = 0;
    for (; i < text.size(); ++i) {
        int digit = 0;
        if (!IsHexDigit(text[i], digit) || digit >= base) return std::nullopt;
        magnitude = magnitude * base + digit;
        if (magnitude > 2147483648LL) return std::nullopt;
    }
    long long value = negative ? -magnitude : magnitude;
    if (value > 2147483647LL) return std::nullopt;
    return static_cast<std::int32_t>(value);
}

std::u16string TnParserParameters::GetValue(std::u16string_view _ANome, std::u16string_view _ADefault) {
    const auto args = platform::Current().process->Arguments();
    // Appended rather than u"-" + ...: GCC 12 misreads that operator+ at -O3
    // as an overlapping copy (-Wrestrict).
    std::u16string wanted(1, u'-');
    wanted += AsciiLower(_ANome);
    for (size_t i = 0; i + 1 < args.size(); ++i) {
        if (AsciiLower(args[i]) == wanted && !StartsWith(args[i + 1], u"-")) return args[i + 1];
    }
    return std::u16string(_ADefault);
}

std::int32_t TnParserParameters::GetValueInteger(std::u16string_view _ANome, std::int32_t _ADefault) {
    return ParseIntegerText(GetValue(_ANome, u"")).value_or(_ADefault);
}

bool TnParserParameters::TemValores(std::u16string_view _ANomes) {
    for (const auto& name : TnTarvenixUtils::StrToStrArray(_ANomes, u';'))
        if (GetValue(name, u"").empty()) return false;
    return true;
}

namespace TnTarvenixUtils {

TStringArray StrToStrArray(std::u16string_view AStr, char16_t _ASep) {
    TStringArray fields;
    const size_t n = AStr.size();
    size_t i = 0;
    while (i < n) {
        std::u16string value;
        if (AStr[i] == u'"') {
            ++i;
            while (i < n) {
                if (AStr[i] == u'"') {
                    if (i + 1 < n && AStr[i + 1] == u'"') {
                        value += u'"';
                        i += 2;
                        continue;
                    }
                    ++i;
                    break;
                }
                value += AStr[i++];
            }
        } else {
            size_t end = AStr.find(_ASep, i);
            if (end == std::u16string_view::npos) end = n;
            value.assign(AStr.substr(i, end - i));
            i = end;
        }
        fields.push_back(std::move(value));
        if (i < n && AStr[i] == _ASep) {
            ++i;
            while (const size_t mark = NonSpacingMarkAt(AStr, i)) i += mark;
            if (i == n) fields.emplace_back();
        }
    }
    return fields;
}

std::u16string GetValorParametro(std::u16string_view _AChave, std::u16string_view _ADic) {
    const std::u16string key = AsciiUpper(Trim(_AChave));
    for (const auto& item : StrToStrArray(_ADic, u';')) {
        auto pair = StrToStrArray(item, u'=');
        if (pair.size() == 2 && AsciiUpper(Trim(pair[0])) == key) return pair[1];
    }
    return {};
}

std::u16string PadronizarString(std::u16string_view _AText) { return AsciiLower(Trim(_AText)); }

bool InArrayIgnoreCase(std::u16string_view _AText, const TStringArray& _AArray) {
    const std::u16string wanted = PadronizarString(_AText);
    return std::any_of(_AArray.begin(), _AArray.end(),
                       [&](const std::u16string& item) { return PadronizarString(item) == wanted; });
}

std::u16string AjustarUrlHttp(std::u16string_view _AUrl) {
    std::u16string url = Trim(_AUrl);
    const std::u16string lower = AsciiLower(url);
    if (StartsWith(lower, u"http://") || StartsWith(lower, u"https://")) return url;
    return u"http://" + url;
}

std::u16string MontarUrlChat(bool /*_AEhDravelt: the address is the same either way*/) {
    using P = TnParserParameters;
    const std::u16string root = AjustarUrlHttp(P::GetValue(u"Url", u""));
    std::u16string login = P::GetValue(u"token", u"");
    if (login.empty()) {
        login = FormatText(kChatLoginPartFormat,
                           {P::GetValue(u"IDAplicativo", u""), P::GetValue(u"Name", u""),
                            P::GetValue(u"Email", u""), P::GetValue(u"OrganizationCodeReference", u"")});
    }
    return FormatText(kChatLoginFormat, {root, login});
}

std::u16string ValidarMontarUrlTarvenixServico(std::u16string_view _AServico) {
    if (!TnParserParameters::TemValores(kChatParameters)) throw Failure(u"Operação inválida");
    const std::u16string root = AjustarUrlHttp(TnParserParameters::GetValue(u"Url", u""));
    const std::u16string token = ResolverToken();
    return FormatText(kServiceFormat, {root, _AServico, token});
}

std::u16string ResolverToken() {
    using P = TnParserParameters;
    std::u16string token = P::GetValue(u"token", u"");
    if (!token.empty()) return token;
    return TarvenixEncode(FormatText(
        u"%s|%s|%s|%s|%s|%s",
        {P::GetValue(u"CodigoProduto", u""), P::GetValue(u"NomeProdutoEVersao", u""),
         P::GetValue(u"CnpjCliente", u""), P::GetValue(u"EmailUsuario", u""),
         P::GetValue(u"NomeUsuario", u""), P::GetValue(u"NroSegundosExpira", u"10")}));
}

std::u16string TarvenixEncode(std::u16string_view _AText) {
    auto& services = platform::Current();
    const std::u16string plain = FormatarData(services.clock->Now()) + u"|" + std::u16string(_AText);
    const std::string ascii = Base64Encode(services.codePage->ToAnsi(plain));
    return std::u16string(ascii.begin(), ascii.end());
}

std::u16string PreencherAEsquerda(std::u16string_view _AText, int _AWidth, std::u16string_view _AFiller) {
    std::u16string result(_AText);
    if (_AFiller.empty()) return result;  // nothing to fill with
    while (static_cast<long long>(result.size() + _AFiller.size()) <= _AWidth)
        result.insert(0, _AFiller);
    return result;
}

std::u16string FormatarData(const platform::LocalDateTime& _AData) {
    const platform::ShortDate written = platform::Current().locale->WriteShortDate(_AData);
    const auto pieces = StrToStrArray(written.text, u'/');
    // The service reads numbers: a month name between slashes takes the
    // other path, as a format with another separator does.
    const auto isNumber = [](const std::u16string& piece) {
        return !piece.empty() && std::all_of(piece.begin(), piece.end(), [](char16_t c) { return c >= u'0' && c <= u'9'; });
    };
    if (pieces.size() >= 3 && std::all_of(pieces.begin(), pieces.begin() + 3, isNumber)) {
        return PreencherAEsquerda(pieces[0], 2, u"0") + u"/" + PreencherAEsquerda(pieces[1], 2, u"0") +
               u"/" + PreencherAEsquerda(pieces[2], 4, u"0");
    }
    // A format written with another separator, or with a month name: day,
    // month and year as numbers in the format's own order, joined with "/".
    std::u16string result;
    for (const platform::DatePart part : written.order) {
        if (!result.empty()) result += u"/";
        switch (part) {
            case platform::DatePart::Day: result += PreencherAEsquerda(IntToText(_AData.day), 2, u"0"); break;
            case platform::DatePart::Month: result += PreencherAEsquerda(IntToText(_AData.month), 2, u"0"); break;
            case platform::DatePart::Year: result += PreencherAEsquerda(IntToText(_AData.year), 4, u"0"); break;
        }
    }
    return result;
}

std::u16string GetIEVersion() {
    std::u16string result;
    if (auto key = platform::Current().registry->OpenLocalMachineKey(u"Software\\Microsoft\\Internet Explorer")) {
        result = Trim(key->ReadString(u"svcVersion").value_or(u""));
        if (result.empty()) result = Trim(key->ReadString(u"Version").value_or(u""));
    }
    return result.empty() ? u"0" : result;
}

std::int32_t GetIEVersionPrincipal() {
    try {
        const auto pieces = StrToStrArray(GetIEVersion(), u'.');
        if (pieces.empty()) return 0;
        return ParseIntegerText(pieces[0]).value_or(0);
    } catch (const std::exception&) {
        return 0;
    }
}

std::int32_t GetVersaoIEMinima() {
    const std::u16string text = TnParserParameters::GetValue(u"VersaoIEMinima", u"");
    if (text.empty()) return 11;
    if (auto value = ParseIntegerText(text)) return *value;
    throw Failure(FormatText(u"'%s' is not a valid integer value", {text}));
}

bool EhNavegadorInternetExplorerVersaoInferior() {
    const std::int32_t installed = GetIEVersionPrincipal();
    return installed < GetVersaoIEMinima();
}

int PromptIEVersaoInferior() {
    const std::u16string minimum = IntToText(GetVersaoIEMinima());
    const std::u16string installedText = GetIEVersion();
    const std::int32_t installed = GetIEVersionPrincipal();
    std::u16string message =
        u"Este aplicativo não pode ser executado pois necessita do software Internet Explorer (versão " +
        minimum + u" ou superior).\r\n" + u"Deseja abrir o atendimento diretamente em seu navegador padrão?" +
        u"\r\n";
    if (installed > 0) message += u"Versão IE atual: " + installedText;
    using platform::DialogButton;
    return platform::Current().dialogs->MessageDlg(message, platform::DialogKind::Warning,
                                                   {DialogButton::Yes, DialogButton::No}, {}, std::nullopt);
}

}  // namespace TnTarvenixUtils
