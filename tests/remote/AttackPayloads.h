#pragma once
// Attendant addresses that try to run a command of their own, or to slip
// options and extra arguments to the tool, in the ways the command
// interpreters of both systems allow. `injected` is a command that leaves a
// trace when it runs.

#include <string>
#include <vector>

namespace remote_test {

inline std::vector<std::u16string> AttackPayloads(const std::u16string& injected) {
    const std::u16string& c = injected;
    return {
        u"127.0.0.1:1 & " + c,
        u"127.0.0.1|" + c,
        u"\"127.0.0.1 | " + c + u"\"",
        u"127.0.0.1;" + c,
        u"$(" + c + u")",
        u"`" + c + u"`",
        u"%PATH%",
        u"127.0.0.1^&" + c,
        u"127.0.0.1\"&" + c + u"&\"",
        u"127.0.0.1'&" + c + u"&'",
        u"127.0.0.1\n" + c,
        u"127.0.0.1\r\n" + c,
        std::u16string(u"127.0.0.1\0&", 11) + c,
        std::u16string(300, u'a') + u".example",
        u"-rfbport",
        u"10.0.0.5:5500 -rfbport 5900",
        u"10.0.0.5/../x",
        u"10.0.0.5,10.0.0.6",
    };
}

}  // namespace remote_test
