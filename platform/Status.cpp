#include "platform/Status.h"

#include <cstring>

namespace lindrel::platform {

Status Status::FromErrno(std::string_view path, int errorNumber) {
  return Error(path, std::strerror(errorNumber));
}

Status Status::Error(std::string_view path, std::string_view reason) {
  Status status;
  status.ok_ = false;
  status.path_ = path;
  status.reason_ = reason;
  return status;
}

std::string Status::ToString() const {
  if (ok_) return "OK";
  return path_.empty() ? reason_ : path_ + ": " + reason_;
}

}  // namespace lindrel::platform
