#include "support/Failure.h"

#include "support/TextUtils.h"

Failure::Failure(std::u16string message) : message_(std::move(message)), utf8_(ToUtf8(message_)) {}

std::u16string MessageOf(const std::exception& failure) {
    if (auto* own = dynamic_cast<const Failure*>(&failure)) return own->Message();
    return FromUtf8(failure.what());
}
