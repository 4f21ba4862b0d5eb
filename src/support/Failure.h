#pragma once

#include <exception>
#include <string>

// A failure that carries a message text for the user, raised by the rules and
// caught at the few boundaries that show it.
class Failure : public std::exception {
public:
    explicit Failure(std::u16string message);
    const std::u16string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.c_str(); }

private:
    std::u16string message_;
    std::string utf8_;
};

// The message text of any failure: a Failure's own, or a standard
// exception's text read as UTF-8.
std::u16string MessageOf(const std::exception& failure);
