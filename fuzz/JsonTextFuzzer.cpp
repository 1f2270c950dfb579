// JsonString on any bytes: the result is one JSON string literal (no raw control byte, no
// byte outside valid UTF-8, no unescaped quote) and decoding it gives the bytes back.
#include <cstddef>
#include <cstdint>
#include <cctype>
#include <cstdlib>
#include <string>
#include <string_view>

#include "cli/JsonText.h"
#include "fuzz/FuzzChecks.h"

namespace {

using lindrel::fuzzing::Check;

unsigned Hex(std::string_view digits) {
  unsigned value = 0;
  for (char c : digits) {
    Check(std::isxdigit(static_cast<unsigned char>(c)) != 0);
    value = value * 16 + static_cast<unsigned>(c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10);
  }
  return value;
}

void AppendUtf8(std::string& out, unsigned cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// Decodes the literal; raw UTF-8 passes through, \udcXX gives the byte XX.
std::string Decode(std::string_view json) {
  Check(json.size() >= 2 && json.front() == '"' && json.back() == '"');
  std::string bytes;
  for (std::size_t i = 1; i + 1 < json.size(); ++i) {
    const auto c = static_cast<unsigned char>(json[i]);
    Check(c >= 0x20 && c != '"' && c != 0x7F);
    if (c != '\\') {
      bytes += static_cast<char>(c);
      continue;
    }
    Check(i + 2 < json.size());
    const char e = json[++i];
    switch (e) {
      case '"': bytes += '"'; break;
      case '\\': bytes += '\\'; break;
      case 'n': bytes += '\n'; break;
      case 'r': bytes += '\r'; break;
      case 't': bytes += '\t'; break;
      case 'u': {
        Check(i + 5 < json.size());
        const unsigned cp = Hex(json.substr(i + 1, 4));
        i += 4;
        if (cp >= 0xDC80 && cp <= 0xDCFF) {
          bytes += static_cast<char>(cp - 0xDC00);
        } else {
          Check(cp < 0xD800 || cp > 0xDFFF);  // no other lone surrogate is ever written
          AppendUtf8(bytes, cp);
        }
        break;
      }
      default:
        Check(false);
    }
  }
  return bytes;
}

// True when `text` is valid UTF-8 (no overlong form, no surrogate, nothing above U+10FFFF).
bool ValidUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto lead = static_cast<unsigned char>(text[i]);
    std::size_t length = lead < 0x80 ? 1 : lead >= 0xC2 && lead <= 0xDF ? 2
                         : lead >= 0xE0 && lead <= 0xEF ? 3 : lead >= 0xF0 && lead <= 0xF4 ? 4 : 0;
    if (length == 0 || i + length > text.size()) return false;
    unsigned cp = length == 1 ? lead : lead & (0xFFu >> (length + 1));
    for (std::size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (next & 0x3F);
    }
    const unsigned minimum[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < minimum[length] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += length;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string json = lindrel::cli::JsonString(input);
  Check(ValidUtf8(json));
  Check(Decode(json) == input);
  return 0;
}
