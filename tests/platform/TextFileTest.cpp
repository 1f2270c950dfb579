#include "platform/TextFile.h"

#include "tests/support/TempEnvironment.h"

namespace lindrel::platform {
namespace {

using lindrel::testing::TempEnvironment;

TEST(TextFileTest, ReadsInTextMode) {
  struct Case {
    std::string raw;
    std::string text;
  } cases[] = {
      {"a\r\nb\r\n", "a\nb\n"},
      {"a\rb\n", "a\rb\n"},            // a lone CR stays
      {"a\r\r\nb", "a\r\nb"},          // only the CR right before LF goes
      {"a\nb\x1a" "c\n", "a\nb"},      // Ctrl-Z ends the content
      {std::string("a\0b\n", 4), std::string("a\0b\n", 4)},
      {"", ""},
      {"end\r", "end\r"},
  };
  TempEnvironment env;
  for (const auto& c : cases) {
    const std::string path = env.Write("f.txt", c.raw).string();
    std::string content = "stale";
    ASSERT_TRUE(ReadTextFile(path, content).ok());
    EXPECT_EQ(content, c.text) << "raw: " << c.raw;
  }
}

TEST(TextFileTest, ReportsThePathOfAFailure) {
  TempEnvironment env;
  std::string content;
  Status missing = ReadTextFile(env.Path("missing").string(), content);
  EXPECT_FALSE(missing.ok());
  EXPECT_EQ(missing.path(), env.Path("missing").string());
  EXPECT_NE(missing.ToString().find("No such file"), std::string::npos) << missing.ToString();
  EXPECT_FALSE(ReadTextFile(env.root().string(), content).ok());  // a directory
}

}  // namespace
}  // namespace lindrel::platform
