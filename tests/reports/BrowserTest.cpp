// The HTML reports of the bundled samples, rendered by headless Chromium: the DOM it
// builds must hold one table row per aligned line and the marked words in their colours.
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "TestConfig.h"
#include "lindrel/LindrelCtrl.h"
#include "lindrel/MessageLoop.h"
#include "tests/support/TempEnvironment.h"

namespace lindrel {
namespace {

using lindrel::testing::TempEnvironment;

const char* const kChromium = "/usr/bin/chromium";

// The DOM Chromium builds from `page`, or "" when it could not run.
std::string RenderedDom(const TempEnvironment& env, const std::string& page) {
  const std::string profile = env.Path("chromium-profile").string();
  std::filesystem::create_directories(profile);
  const std::string command =
      std::string("timeout 120 ") + kChromium +
      " --headless --no-sandbox --disable-gpu --disable-background-networking"
      " --disable-component-update --disable-sync --no-first-run --user-data-dir='" + profile +
      "' --dump-dom 'file://" + page + "' 2>/dev/null";
  std::string dom;
  if (FILE* pipe = ::popen(command.c_str(), "r")) {
    std::array<char, 65536> buffer;
    std::size_t n;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) dom.append(buffer.data(), n);
    ::pclose(pipe);
  }
  return dom;
}

std::size_t Count(const std::string& text, const std::string& part) {
  std::size_t n = 0;
  for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
  return n;
}

bool IsWordByte(char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_'; }

// True when `word` stands whole in the text of a font element of `colour` right behind
// `tags` (before any further tag).
bool HasMarkedWord(const std::string& dom, const std::string& tags, const std::string& colour,
                   const std::string& word) {
  const std::string opening = tags + "<font color=\"" + colour + "\">";
  for (auto at = dom.find(opening); at != std::string::npos; at = dom.find(opening, at + 1)) {
    const std::size_t begin = at + opening.size();
    const std::size_t end = std::min(dom.find('<', begin), dom.size());
    const std::string_view text(dom.data() + begin, end - begin);
    for (auto w = text.find(word); w != std::string_view::npos; w = text.find(word, w + 1)) {
      const std::size_t after = w + word.size();
      const bool startsWhole = w == 0 || !IsWordByte(text[w - 1]);
      if (startsWhole && (after == text.size() || !IsWordByte(text[after]))) return true;
    }
  }
  return false;
}

class BrowserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (::access(kChromium, X_OK) != 0) GTEST_SKIP() << "no Chromium at " << kChromium;
    ctrl.SetFileMaster(LINDREL_EXAMPLES_DIR "/master.txt");
    ctrl.SetFileSource(LINDREL_EXAMPLES_DIR "/source.txt");
    ASSERT_TRUE(ctrl.FileCompareBeginSynchronous());
    ASSERT_GT(ctrl.FileCompareResultsCount(), 0);
  }

  // Rows of the aligned tables: every master line, plus a filler opposite each added
  // line and each surplus line of a change.
  long ExpectedRows() {
    long rows = 0;
    for (std::string line; std::getline(masterStream, line);) ++rows;
    for (long i = 0; i < ctrl.FileCompareResultsCount(); ++i) {
      long kind, m0, m1, s0, s1;
      EXPECT_TRUE(ctrl.FileCompareResultsGet(i, kind, m0, m1, s0, s1));
      if (kind == 'a') rows += s1 - s0 + 1;
      if (kind == 'c') rows += std::max(0L, (s1 - s0) - (m1 - m0));
    }
    return rows;
  }

  std::string RenderReport(long style) {
    const std::string target = env.Path(style == 2 ? "side.htm" : "merged.htm").string();
    EXPECT_EQ(ctrl.FileCompareCreateReport(target, 1, style), 0);
    return RenderedDom(env, target);
  }

  TempEnvironment env;
  MessageLoop loop;
  CLindrelCtrl ctrl{"browser", &loop};
  std::ifstream masterStream{LINDREL_EXAMPLES_DIR "/master.txt"};
};

TEST_F(BrowserTest, SideBySideReportRenders) {
  const long rows = ExpectedRows();
  const std::string dom = RenderReport(2);
  ASSERT_NE(dom.find("<table"), std::string::npos) << "Chromium produced no DOM";
  EXPECT_EQ(Count(dom, "<tr>"), static_cast<std::size_t>(rows + 1));
  EXPECT_TRUE(HasMarkedWord(dom, "<b>", "FF0000", "fox"));
  EXPECT_TRUE(HasMarkedWord(dom, "<b>", "FF0000", "cat"));
  EXPECT_TRUE(HasMarkedWord(dom, "<b>", "009000", "added"));
  EXPECT_TRUE(HasMarkedWord(dom, "<b>", "0000FF", "deleted"));
  // The tab-indented line keeps its angle brackets as text, not as an element.
  EXPECT_NE(dom.find("&lt;and angle brackets&gt;"), std::string::npos);
}

TEST_F(BrowserTest, AllInOneReportRenders) {
  const long rows = ExpectedRows();
  const std::string dom = RenderReport(1);
  ASSERT_NE(dom.find("<table"), std::string::npos) << "Chromium produced no DOM";
  EXPECT_EQ(Count(dom, "<tr>"), static_cast<std::size_t>(rows + 1));
  EXPECT_TRUE(HasMarkedWord(dom, "<b><u>", "FF0000", "cat"));
  EXPECT_TRUE(HasMarkedWord(dom, "<b><strike>", "FF0000", "fox"));
  EXPECT_TRUE(HasMarkedWord(dom, "<b><u>", "009000", "added"));
  EXPECT_TRUE(HasMarkedWord(dom, "<b><strike>", "0000FF", "deleted"));
}

}  // namespace
}  // namespace lindrel
