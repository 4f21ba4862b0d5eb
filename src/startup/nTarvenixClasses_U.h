#pragma once
// Command-line parameters, text splitting, service addresses, the access
// token and the legacy browser version gate.

#include "platform/Clock.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using TStringArray = std::vector<std::u16string>;

class TnParserParameters {
public:
    // The value argument that follows "-" + `_ANome` (ASCII case ignored), or
    // `_ADefault`. Every call reads the arguments afresh.
    static std::u16string GetValue(std::u16string_view _ANome, std::u16string_view _ADefault);
    static std::int32_t GetValueInteger(std::u16string_view _ANome, std::int32_t _ADefault);
    // True when every parameter named in `_ANomes` (";"-separated) has a value.
    static bool TemValores(std::u16string_view _ANomes);
};

// Reads an integer text: optional blanks, optional sign, decimal digits, or
// hexadecimal after "$", "x", "X", "0x" or "0X"; signed 32-bit range only.
std::optional<std::int32_t> ParseIntegerText(std::u16string_view text);

namespace TnTarvenixUtils {

TStringArray StrToStrArray(std::u16string_view AStr, char16_t _ASep);
std::u16string GetValorParametro(std::u16string_view _AChave, std::u16string_view _ADic);
bool InArrayIgnoreCase(std::u16string_view _AText, const TStringArray& _AArray);
std::u16string PadronizarString(std::u16string_view _AText);

std::u16string AjustarUrlHttp(std::u16string_view _AUrl);
std::u16string MontarUrlChat(bool _AEhDravelt);
std::u16string ValidarMontarUrlTarvenixServico(std::u16string_view _AServico);
std::u16string ResolverToken();
std::u16string TarvenixEncode(std::u16string_view _AText);
std::u16string FormatarData(const platform::LocalDateTime& _AData);
std::u16string PreencherAEsquerda(std::u16string_view _AText, int _AWidth, std::u16string_view _AFiller);

std::u16string GetIEVersion();
std::int32_t GetIEVersionPrincipal();
std::int32_t GetVersaoIEMinima();
bool EhNavegadorInternetExplorerVersaoInferior();
int PromptIEVersaoInferior();

}  // namespace TnTarvenixUtils
