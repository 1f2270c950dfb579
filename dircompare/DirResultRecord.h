// DirResultRecord: one entry kept by a directory comparison (a file, a subdirectory, or
// the root pair of directories).
//
// The six classification fields are packed into one 16-bit word of small signed fields
// and always read back sign-extended, so -1 survives the round trip. A record is a plain
// value: copies may be used on any thread.
#pragma once

#include <cstdint>
#include <string>

namespace lindrel::dircompare {

// The packed fields: bit offset and width inside the flag word.
enum class DirFlag : std::uint8_t {
  kIsFile,            // bits 0-1: 1 file, 0 directory or root
  kOnlyInMaster,      // bits 2-3
  kOnlyInSource,      // bits 4-5
  kDateDifferent,     // bits 6-7: -1 master older, 0 equal or not compared, 1 newer
  kSizeDifferent,     // bits 8-9: -1 master smaller, 0 equal or not compared, 1 larger
  kContentDifferent,  // bits 10-13: 0 same or not compared, 1 different, 2 unopenable
};

class DirFlags {
 public:
  // Stores `value` truncated to the field's width.
  void Set(DirFlag flag, int value) {
    const Layout layout = LayoutOf(flag);
    const unsigned mask = ((1u << layout.width) - 1u) << layout.shift;
    word_ = static_cast<std::uint16_t>((word_ & ~mask) |
                                       ((static_cast<unsigned>(value) << layout.shift) & mask));
  }
  // The field's value, sign-extended from its width.
  int Get(DirFlag flag) const {
    const Layout layout = LayoutOf(flag);
    const int raw = static_cast<int>((word_ >> layout.shift) & ((1u << layout.width) - 1u));
    const int signBit = 1 << (layout.width - 1);
    return (raw & signBit) ? raw - (1 << layout.width) : raw;
  }
  // Every field 0.
  void Clear() { word_ = 0; }
  std::uint16_t word() const { return word_; }

 private:
  struct Layout {
    unsigned shift;
    unsigned width;
  };
  static constexpr Layout LayoutOf(DirFlag flag) {
    switch (flag) {
      case DirFlag::kIsFile: return {0, 2};
      case DirFlag::kOnlyInMaster: return {2, 2};
      case DirFlag::kOnlyInSource: return {4, 2};
      case DirFlag::kDateDifferent: return {6, 2};
      case DirFlag::kSizeDifferent: return {8, 2};
      case DirFlag::kContentDifferent: return {10, 4};
    }
    return {0, 2};
  }

  std::uint16_t word_ = 0;
};

struct DirResultRecord {
  DirFlags flags;
  std::string dirSource;
  std::string dirMaster;
  std::string fileName;

  int isFile() const { return flags.Get(DirFlag::kIsFile); }
  int onlyInMaster() const { return flags.Get(DirFlag::kOnlyInMaster); }
  int onlyInSource() const { return flags.Get(DirFlag::kOnlyInSource); }
  int dateDifferent() const { return flags.Get(DirFlag::kDateDifferent); }
  int sizeDifferent() const { return flags.Get(DirFlag::kSizeDifferent); }
  int contentDifferent() const { return flags.Get(DirFlag::kContentDifferent); }
};

}  // namespace lindrel::dircompare
