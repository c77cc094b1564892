// An error whose message is UTF-16 text, shown as it stands by the framework's error box.
#pragma once
#include <stdexcept>
#include <string>

class TException : public std::runtime_error {
  public:
    explicit TException(std::u16string message)
        : std::runtime_error("TException"), FMessage(std::move(message)) {}
    const std::u16string& Message() const { return FMessage; }

  private:
    std::u16string FMessage;
};
