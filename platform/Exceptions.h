// Exceptions.h: the Exception family through which this layer reports failures.
//
//   Exception            base class; carries the message shown in the error box
//   ERegistryException   a registry accessor call that failed
//   EResNotFound         a resource that the program expects is missing
//   EReadError           a form description that is malformed or names something unknown
//   EOutOfResources      the system could not provide a timer
//
// Plain C++ (no Windows headers), so the form reader can be built and fuzzed natively.
#pragma once

#include <string>
#include <utility>

class Exception {
 public:
  explicit Exception(std::string message) : message_(std::move(message)) {}
  virtual ~Exception() = default;

  const std::string& Message() const noexcept { return message_; }

 private:
  std::string message_;
};

class ERegistryException : public Exception {
  using Exception::Exception;
};

class EResNotFound : public Exception {
  using Exception::Exception;
};

class EReadError : public Exception {
  using Exception::Exception;
};

class EOutOfResources : public Exception {
  using Exception::Exception;
};
