#include "platform/Platform.h"

#include <algorithm>

namespace platform {

namespace {

Services& InForce() {
    static Services services = NativeServices();
    return services;
}

void Overlay(Services& target, const Services& source) {
    auto take = [](auto*& into, auto* from) {
        if (from) into = from;
    };
    take(target.process, source.process);
    take(target.shell, source.shell);
    take(target.files, source.files);
    take(target.codePage, source.codePage);
    take(target.locale, source.locale);
    take(target.clock, source.clock);
    take(target.registry, source.registry);
    take(target.windows, source.windows);
    take(target.dialogs, source.dialogs);
    take(target.processes, source.processes);
}

}  // namespace

std::array<DatePart, 3> DateOrder(std::size_t day, std::size_t month, std::size_t year) {
    std::array<std::pair<std::size_t, DatePart>, 3> found{
        {{day, DatePart::Day}, {month, DatePart::Month}, {year, DatePart::Year}}};
    std::stable_sort(found.begin(), found.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    return {found[0].second, found[1].second, found[2].second};
}

Services& Current() { return InForce(); }

void Install(const Services& services) { Overlay(InForce(), services); }

ScopedServices::ScopedServices(const Services& replacement) : previous_(InForce()) {
    Overlay(InForce(), replacement);
}

ScopedServices::~ScopedServices() { InForce() = previous_; }

int ResultOf(DialogButton button) {
    switch (button) {
        case DialogButton::Yes: return ResultYes;
        case DialogButton::No: return ResultNo;
        case DialogButton::OK: return ResultOK;
        case DialogButton::Cancel: return ResultCancel;
        case DialogButton::Abort: return ResultAbort;
        case DialogButton::Retry: return ResultRetry;
        case DialogButton::Ignore: return ResultIgnore;
        case DialogButton::All: return ResultAll;
        case DialogButton::NoToAll: return ResultNoToAll;
        case DialogButton::YesToAll: return ResultYesToAll;
        case DialogButton::Help: return ResultHelp;
        case DialogButton::Close: return ResultClose;
    }
    return ResultNone;
}

int DismissedResult(DialogButtons buttons) {
    for (DialogButton b : {DialogButton::Cancel, DialogButton::No, DialogButton::OK})
        if (buttons.Has(b)) return ResultOf(b);
    return ResultCancel;
}

}  // namespace platform
