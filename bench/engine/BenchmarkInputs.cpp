#include "bench/engine/BenchmarkInputs.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <vector>

#include "tests/support/RealisticEdits.h"

namespace lindrel::bench {

namespace {

class Workspace {
 public:
  Workspace() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/lindrel-bench-XXXXXX";
    if (const char* made = ::mkdtemp(pattern.data())) root_ = made;
  }
  ~Workspace() {
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
  }
  std::string Path(const std::string& name) const { return (root_ / name).string(); }

 private:
  std::filesystem::path root_;
};

Workspace& Files() {
  static Workspace workspace;
  return workspace;
}

// Lines that look like program text: a few words from a vocabulary, and now and then one
// of the short lines that repeat all over real files.
class LineMaker {
 public:
  explicit LineMaker(unsigned seed) : random_(seed) {
    for (int i = 0; i < 2000; ++i) {
      std::string word;
      for (int n = Pick(2, 9); n > 0; --n) word += static_cast<char>('a' + Pick(0, 25));
      vocabulary_.push_back(word);
    }
  }

  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

  std::string Line(const char* tag = "") {
    static const char* const common[] = {"", "}", "{", "  return 0;", "  break;", "#endif"};
    if (*tag == '\0' && Pick(1, 100) <= 10) return common[Pick(0, 5)];
    std::string line = tag + std::string(static_cast<size_t>(Pick(0, 4)) * 2, ' ');
    for (int n = Pick(3, 9); n > 0; --n)
      line += vocabulary_[static_cast<size_t>(Pick(0, 1999))] + ' ';
    line.back() = ';';
    return line;
  }

 private:
  std::mt19937_64 random_;
  std::vector<std::string> vocabulary_;
};

// The two files of a pair, written line by line so that generating them leaves nothing
// behind in this process's heap that a measured run could reuse.
class PairWriter {
 public:
  explicit PairWriter(const std::string& name)
      : pair_{Files().Path(name + ".master"), Files().Path(name + ".source")},
        master_(pair_.master, std::ios::binary),
        source_(pair_.source, std::ios::binary) {}

  void Both(const std::string& line) {
    Master(line);
    Source(line);
  }
  void Master(const std::string& line) { master_ << line << '\n'; }
  void Source(const std::string& line) { source_ << line << '\n'; }

  // A master line that is deleted, replaced or preceded by a new line in the source.
  void Edited(LineMaker& maker, const std::string& line) {
    Master(line);
    switch (maker.Pick(0, 2)) {
      case 0: break;
      case 1: Source(maker.Line()); break;
      default: Source(maker.Line()); Source(line);
    }
  }

  FilePair Close() {
    master_.close();
    source_.close();
    return pair_;
  }

 private:
  FilePair pair_;
  std::ofstream master_, source_;
};

}  // namespace

const FilePair& ScatteredEditsPair() {
  static const FilePair pair = [] {
    LineMaker maker(1);
    PairWriter writer("scattered");
    for (int i = 0; i < 1'000'000; ++i) {
      const std::string line = maker.Line();
      if (maker.Pick(1, 100) == 1) {
        writer.Edited(maker, line);
      } else {
        writer.Both(line);
      }
    }
    return writer.Close();
  }();
  return pair;
}

const FilePair& OneMiddleLinePair() {
  static const FilePair pair = [] {
    constexpr size_t kBytes = 50'000'000;
    // A first pass with the same seed finds the middle line.
    size_t lines = 0;
    {
      LineMaker maker(2);
      for (size_t bytes = 0; bytes < kBytes; ++lines) bytes += maker.Line().size() + 1;
    }
    LineMaker maker(2);
    PairWriter writer("middle");
    for (size_t i = 0; i < lines; ++i) {
      const std::string line = maker.Line();
      writer.Master(line);
      writer.Source(i == lines / 2 ? line + " changed" : line);
    }
    return writer.Close();
  }();
  return pair;
}

const FilePair& CompletelyDifferentPair() {
  static const FilePair pair = [] {
    LineMaker maker(3);
    PairWriter writer("different");
    for (int i = 0; i < 20'000; ++i) {
      writer.Master(maker.Line("m "));
      writer.Source(maker.Line("s "));
    }
    return writer.Close();
  }();
  return pair;
}

const FilePair& ClusteredEditsPair() {
  static const FilePair pair = [] {
    LineMaker maker(4);
    PairWriter writer("clustered");
    // Stretches of 180 to 540 equal lines, then clusters of 20 to 60 lines of which 70%
    // are edited: about 10% of all lines.
    int i = 0;
    while (i < 200'000) {
      for (int n = maker.Pick(180, 540); n > 0 && i < 200'000; --n, ++i) writer.Both(maker.Line());
      for (int n = maker.Pick(20, 60); n > 0 && i < 200'000; --n, ++i) {
        const std::string line = maker.Line();
        if (maker.Pick(1, 10) <= 7) {
          writer.Edited(maker, line);
        } else {
          writer.Both(line);
        }
      }
    }
    return writer.Close();
  }();
  return pair;
}

const FilePair& ReorderedPair(int lines) {
  static std::map<int, FilePair> pairs;
  auto found = pairs.find(lines);
  if (found != pairs.end()) return found->second;
  LineMaker maker(5);
  std::vector<std::string> text;
  for (int i = 0; i < lines; ++i)
    text.push_back(maker.Line(("line " + std::to_string(i) + " ").c_str()));
  PairWriter writer("reordered" + std::to_string(lines));
  for (const std::string& line : text) writer.Master(line);
  std::shuffle(text.begin(), text.end(), std::mt19937_64(6));
  for (const std::string& line : text) writer.Source(line);
  return pairs.emplace(lines, writer.Close()).first->second;
}

const FilePair& SixteenLinesPair() {
  static const FilePair pair = [] {
    LineMaker maker(7);
    std::vector<std::string> distinct;
    for (int i = 0; i < 16; ++i) distinct.push_back(maker.Line("text "));
    PairWriter writer("sixteen");
    for (int i = 0; i < 20'000; ++i) {
      writer.Master(distinct[static_cast<size_t>(maker.Pick(0, 15))]);
      writer.Source(distinct[static_cast<size_t>(maker.Pick(0, 15))]);
    }
    return writer.Close();
  }();
  return pair;
}

const FilePair& EditedSourcePair() {
  static const FilePair pair = [] {
    testing::RealisticEdits edits(6);
    const testing::TextLines master = edits.Code(15'000);
    PairWriter writer("edited-source");
    for (const std::string& line : master) writer.Master(line);
    for (const std::string& line : edits.EditedCode(master, 6'000)) writer.Source(line);
    return writer.Close();
  }();
  return pair;
}

}  // namespace lindrel::bench
