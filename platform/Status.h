// Status: the outcome of a platform operation, with the path and the reason on failure.
#pragma once

#include <string>
#include <string_view>

namespace lindrel::platform {

class Status {
 public:
  static Status Ok() { return Status(); }
  // A failure of `path` described by errno value `errorNumber`.
  static Status FromErrno(std::string_view path, int errorNumber);
  static Status Error(std::string_view path, std::string_view reason);

  bool ok() const { return ok_; }
  const std::string& path() const { return path_; }
  const std::string& reason() const { return reason_; }
  // "path: reason", or "OK".
  std::string ToString() const;

 private:
  bool ok_ = true;
  std::string path_;
  std::string reason_;
};

}  // namespace lindrel::platform
