#pragma once
// An error that ends the running handler and is shown in the application's
// error box; the program goes on.
#include <exception>
#include <string>

namespace morvane {

class UserError : public std::exception {
  public:
    explicit UserError(std::u16string message) : message_(std::move(message)) {}
    const std::u16string& message() const noexcept { return message_; }
    const char* what() const noexcept override { return "MorvaneX user error"; }

  private:
    std::u16string message_;
};

} // namespace morvane
