#pragma once
// The service window's waiting page: a data address that shows "Aguarde..."
// and at once moves on to the service address followed by "/".

#include <string>
#include <string_view>

std::u16string WaitingPageUrl(std::u16string_view address);

// The HTML of that page, the address escaped as an attribute value.
std::u16string WaitingPageHtml(std::u16string_view address);
// Percent-encodes the UTF-8 form of a text, leaving only the unreserved
// characters of an address as they are.
std::u16string PercentEncode(std::u16string_view text);
