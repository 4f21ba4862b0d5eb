#pragma once
// The attendant's address, as the chat page hands it over for a reverse VNC
// connection: a host with an optional port, and nothing else. It is checked
// before any tool command line is built, because those lines run through the
// command interpreter, where any other character could start a command of
// its own (and where x11vnc would read "/", "+", "," or "=" as a file, a
// repeater or a list).

#include "platform/Dialogs.h"

#include <string>
#include <string_view>

// Four decimal numbers 0-255 separated by dots, without leading zeros.
bool IsIPv4Address(std::u16string_view text);
// Eight groups of 1-4 hex digits, one "::" for a run of zero groups, an IPv4
// address as the last two groups allowed; no brackets, no zone.
bool IsIPv6Address(std::u16string_view text);
// Labels of ASCII letters, digits and "-" (never first or last), 1-63
// characters each, joined by dots, 253 characters at most; a name whose last
// label is all digits must be an IPv4 address instead.
bool IsDnsName(std::u16string_view text);

// A host (IPv4, IPv6 bare or in brackets, DNS name) with, except for a bare
// IPv6 address, an optional ":" and a port 1-65535 without leading zeros.
bool IsAttendantAddress(std::u16string_view address);

// Accepts a valid address; otherwise writes the refusal to the action log,
// tells the user (with `dialogs`, or those in force) and answers false. No
// tool may be started then.
bool AcceptAttendantAddress(std::u16string_view address, platform::IDialogs* dialogs = nullptr);
