// The tab-delimited export of directory records, on records with any names (tabs, line
// feeds, carriage returns, bytes that are not UTF-8, zero bytes) and any flag values.
// Asserts, beside no crash:
// - the component's export is the header and one "%d\t%s\t%s\t%s\t%d\t%d\t%d\t%d\t%d\t%d\n"
//   line per record, texts as stored and each flag as its field reads it back;
// - read back, it has one line per record when no text holds a line feed, and every line
//   gives the record's number, its three texts (joined again where a tab split them) and
//   its six values in the export's column order;
// - the escaping of the command line's export leaves no tab, line feed or carriage return
//   in a name, and undoing its escapes gives the name back byte for byte.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "cli/TableEscape.h"
#include "dircompare/DirResultStore.h"
#include "dircompare/TabExport.h"
#include "fuzz/FuzzChecks.h"
#include "platform/ScratchDirectory.h"

namespace {

using lindrel::dircompare::DirFlag;
using lindrel::dircompare::DirResultRecord;

using lindrel::fuzzing::Check;

// A field of `width` bits holding the low bits of `value`, read as a signed number.
int SignExtended(int value, int width) {
  const int raw = value & ((1 << width) - 1);
  return raw >= (1 << (width - 1)) ? raw - (1 << width) : raw;
}

struct Written {
  DirResultRecord record;
  int values[6];  // in the export's order: IsFile, OnlyInSource, OnlyInMaster, Size, Date, Content
};

std::vector<std::string> Split(const std::string& text, char separator) {
  std::vector<std::string> parts{""};
  for (char c : text) {
    if (c == separator)
      parts.emplace_back();
    else
      parts.back() += c;
  }
  return parts;
}

std::optional<std::string> Unescape(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return std::nullopt;
    switch (text[i]) {
      case '\\': out += '\\'; break;
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case 'r': out += '\r'; break;
      default: {
        if (i + 3 > text.size()) return std::nullopt;
        int value = 0;
        for (std::size_t k = i; k < i + 3; ++k) {
          if (text[k] < '0' || text[k] > '7') return std::nullopt;
          value = value * 8 + (text[k] - '0');
        }
        out += static_cast<char>(value);
        i += 2;
      }
    }
  }
  return out;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::optional<std::string> directory = lindrel::platform::ScratchDirectory();
  Check(directory.has_value());
  const std::string path = *directory + "/export.tab";

  FuzzedDataProvider input(data, size);
  lindrel::dircompare::DirResultStore store;
  std::vector<Written> written;
  const int count = input.ConsumeIntegralInRange(0, 12);
  for (int i = 0; i < count; ++i) {
    Written w;
    const int raw[6] = {input.ConsumeIntegral<std::int8_t>(), input.ConsumeIntegral<std::int8_t>(),
                        input.ConsumeIntegral<std::int8_t>(), input.ConsumeIntegral<std::int8_t>(),
                        input.ConsumeIntegral<std::int8_t>(), input.ConsumeIntegral<std::int8_t>()};
    const DirFlag order[6] = {DirFlag::kIsFile,        DirFlag::kOnlyInSource,
                              DirFlag::kOnlyInMaster,  DirFlag::kSizeDifferent,
                              DirFlag::kDateDifferent, DirFlag::kContentDifferent};
    for (int k = 0; k < 6; ++k) {
      w.record.flags.Set(order[k], raw[k]);
      w.values[k] = SignExtended(raw[k], order[k] == DirFlag::kContentDifferent ? 4 : 2);
    }
    w.record.fileName = input.ConsumeRandomLengthString(24);
    w.record.dirMaster = input.ConsumeRandomLengthString(40);
    w.record.dirSource = input.ConsumeRandomLengthString(40);
    store.Append(w.record);
    written.push_back(w);
  }

  Check(lindrel::dircompare::WriteTabFile(store, path));
  const std::string file = ReadFile(path);

  std::string expected(lindrel::kDirTabHeader);
  bool anyLineFeed = false;
  for (int i = 0; i < count; ++i) {
    const DirResultRecord& r = written[i].record;
    expected += std::to_string(i) + "\t" + r.fileName + "\t" + r.dirMaster + "\t" + r.dirSource;
    for (int value : written[i].values) expected += "\t" + std::to_string(value);
    expected += "\n";
    anyLineFeed |= (r.fileName + r.dirMaster + r.dirSource).find('\n') != std::string::npos;
  }
  Check(file == expected);

  if (!anyLineFeed) {
    std::vector<std::string> lines = Split(file, '\n');
    Check(lines.back().empty());  // the last line ends in its line feed
    lines.pop_back();
    Check(lines.size() == static_cast<std::size_t>(count) + 1);
    Check(lines[0] + "\n" == lindrel::kDirTabHeader);
    for (int i = 0; i < count; ++i) {
      const std::vector<std::string> fields = Split(lines[i + 1], '\t');
      Check(fields.size() >= 10);
      Check(fields[0] == std::to_string(i));
      for (int k = 0; k < 6; ++k)
        Check(fields[fields.size() - 6 + k] == std::to_string(written[i].values[k]));
      std::string texts = fields[1];
      for (std::size_t k = 2; k < fields.size() - 6; ++k) texts += "\t" + fields[k];
      const DirResultRecord& r = written[i].record;
      Check(texts == r.fileName + "\t" + r.dirMaster + "\t" + r.dirSource);
      if (fields.size() == 10) {
        Check(fields[1] == r.fileName && fields[2] == r.dirMaster && fields[3] == r.dirSource);
      }
    }
  }

  for (const Written& w : written) {
    for (const std::string* text : {&w.record.fileName, &w.record.dirMaster, &w.record.dirSource}) {
      const std::string escaped = lindrel::cli::EscapeForTable(*text);
      Check(escaped.find_first_of("\t\n\r") == std::string::npos);
      Check(Unescape(escaped) == *text);
    }
  }
  return 0;
}
