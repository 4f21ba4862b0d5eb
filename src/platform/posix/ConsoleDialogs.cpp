#include "platform/posix/ConsoleDialogs.h"

#include "support/TextUtils.h"

#include <cstdio>

namespace platform {

int ConsoleDialogs::MessageDlg(const std::u16string& text, DialogKind, DialogButtons buttons,
                               const std::vector<std::u16string>&, const DialogTitle& title) {
    const std::string heading = title ? ToUtf8(*title) : std::string();
    std::fprintf(stderr, "%s%s%s\n", heading.c_str(), heading.empty() ? "" : ": ", ToUtf8(text).c_str());
    const auto order = buttons.InOrder();
    // Without anyone to ask, the answer is the last (least committing) button.
    return order.empty() ? ResultNone : (buttons.Has(DialogButton::No) ? ResultNo : ResultOf(order.back()));
}

void ConsoleDialogs::ShowMessage(const std::u16string& text) { std::fprintf(stderr, "%s\n", ToUtf8(text).c_str()); }

std::u16string ConsoleDialogs::PromptOpenFile(const std::u16string&, const std::u16string&, const std::u16string&,
                                              FileListing) {
    return {};
}

}  // namespace platform
