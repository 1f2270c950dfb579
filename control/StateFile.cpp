#include "control/StateFile.h"

#include <cctype>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "platform/FileSearch.h"
#include "platform/IniFile.h"
#include "platform/IniScan.h"
#include "platform/LindrelDirectory.h"

namespace lindrel {

namespace {

constexpr const char* kSection = "General";
constexpr std::size_t kTextBufferSize = 500;  // texts read back are cut to 499 characters

struct Boolean {
  long Properties::*member;
};
struct Number {
  long Properties::*member;
};
struct Priority {
  long Properties::*member;
};
struct Text {
  std::string Properties::*member;
};
using Field = std::variant<Boolean, Number, Priority, Text>;
using Directory = Text;

struct Key {
  const char* name;  // nullptr: the property is not kept in the file
  Field field;
};

// In the order the component writes them.
#define LINDREL_STATE_KEY(Name, member, Kind, Default, StateKey) \
  Key{StateKey, Kind{&Properties::member}},
const Key kKeys[] = {LINDREL_PROPERTIES(LINDREL_STATE_KEY)};
#undef LINDREL_STATE_KEY

template <class... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

// What a line of the file can hold of a text: everything before its first line break or
// NUL. Storing that is closer to the property than keeping the value of an earlier run.
std::string StorablePart(const std::string& text) {
  return text.substr(0, text.find_first_of(std::string_view("\r\n\0", 3)));
}

}  // namespace

std::optional<std::string> ResolveStateFilePath(const std::string& stateFileName) {
  // The part before a NUL byte would be another file's name.
  if (platform::HoldsNul(stateFileName)) return std::nullopt;
  if (stateFileName.find('/') != std::string::npos) return stateFileName;
  auto directory = platform::LindrelDirectory();
  if (!directory) return std::nullopt;
  const std::string base = stateFileName.empty() ? "TVK" : stateFileName;
  return platform::JoinPath(*directory, base + ".INI");
}

namespace {

// The first value stored under `name` (names match without regard to letter case).
std::optional<std::string> Lookup(const std::vector<std::pair<std::string, std::string>>& entries,
                                  std::string_view name) {
  for (const auto& [key, value] : entries) {
    if (key.size() != name.size()) continue;
    bool same = true;
    for (std::size_t i = 0; same && i < key.size(); ++i)
      same = std::tolower(static_cast<unsigned char>(key[i])) ==
             std::tolower(static_cast<unsigned char>(name[i]));
    if (same) return value;
  }
  return std::nullopt;
}

}  // namespace

void ReadStateFile(const std::string& path, Properties& props) {
  const Properties defaults;
  // Read as through the 500-character buffer: a value of any size costs one pass over
  // it, never a copy. The extra bytes let the cut below see whole characters.
  const auto entries = platform::ScanProfileSection(path, kSection, kTextBufferSize + 3);
  for (const Key& key : kKeys) {
    if (key.name == nullptr) continue;
    const std::optional<std::string> stored = Lookup(entries, key.name);
    std::visit(
        Overloaded{
            [&](Boolean b) {
              // Only a value containing "FALSE" reads FALSE: "false", "0" and "" read TRUE.
              props.*b.member = stored ? (stored->find("FALSE") == std::string::npos ? 1 : 0)
                                       : defaults.*b.member;
            },
            [&](Number n) {
              props.*n.member = stored ? platform::ParseProfileInt(*stored) : defaults.*n.member;
            },
            [&](Priority p) {
              const long value = stored ? platform::ParseProfileInt(*stored) : defaults.*p.member;
              // An out-of-scale priority would index past the scale; keep the current one,
              // as the setter does.
              if (value >= 0 && value <= 4) props.*p.member = value;
            },
            [&](Text t) {
              // The component never writes a NUL byte, and a name cut at one would be
              // another file's: such a value is ignored, as an out-of-scale priority is.
              if (stored && platform::HoldsNul(*stored)) return;
              std::string value = stored ? *stored : defaults.*t.member;
              platform::CutAtCharacter(value, kTextBufferSize - 1);
              props.*t.member = std::move(value);
            },
        },
        key.field);
  }
}

bool WriteStateFile(const std::string& path, const Properties& props, bool durable) {
  platform::Status loaded;
  platform::IniDocument file = platform::IniDocument::Load(path, &loaded);
  // A state file that exists but cannot be read keeps its content: rewriting it would
  // lose every section and key this component does not know.
  if (!loaded.ok()) return false;
  const std::string before = file.Text();
  for (const Key& key : kKeys) {
    if (key.name == nullptr) continue;
    std::string value = std::visit(
        Overloaded{
            [&](Boolean b) -> std::string { return props.*b.member != 0 ? "TRUE" : "FALSE"; },
            [&](Number n) -> std::string { return std::to_string(props.*n.member); },
            [&](Priority p) -> std::string { return std::to_string(props.*p.member); },
            [&](Text t) -> std::string { return StorablePart(props.*t.member); },
        },
        key.field);
    // Every value is storable now; a refusal could only come from the names.
    (void)file.Set(kSection, key.name, value);
  }
  // A file that already says all this is left alone: rewriting it would only wait for
  // the disk (the write is made durable before it replaces the file).
  if (!before.empty() && file.Text() == before) return true;
  return file
      .Save(path, durable ? platform::IniDocument::Durability::kDurable
                          : platform::IniDocument::Durability::kReplaceOnly)
      .ok();
}

}  // namespace lindrel
