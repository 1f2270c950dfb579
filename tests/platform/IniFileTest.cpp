#include "platform/IniFile.h"

#include <filesystem>

#include "tests/support/TempEnvironment.h"

namespace lindrel::platform {
namespace {

using lindrel::testing::TempEnvironment;

TEST(IniFileTest, ReadsValuesWithWindowsRules) {
  TempEnvironment env;
  const std::string path = env.Write("a.ini",
                                     "; comment=not a key\r\n"
                                     "[General]\r\n"
                                     "  Key One =  spaced value  \r\n"
                                     "quoted=\"  kept blanks  \"\r\n"
                                     "empty=\r\n"
                                     "[Other]\n"
                                     "key one=other section\n")
                               .string();
  struct Case {
    const char* section;
    const char* key;
    const char* expected;
  } cases[] = {
      {"General", "Key One", "spaced value"},
      {"general", "KEY ONE", "spaced value"},
      {"GENERAL", "quoted", "  kept blanks  "},
      {"General", "empty", ""},
      {"Other", "key one", "other section"},
      {"General", "missing", "<default>"},
      {"Missing", "Key One", "<default>"},
      {"General", "; comment", "<default>"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(GetPrivateProfileString(c.section, c.key, "<default>", 500, path), c.expected)
        << c.section << "/" << c.key;
  EXPECT_EQ(GetPrivateProfileString("General", "x", "dflt", 500, env.Path("absent.ini")), "dflt");
}

TEST(IniFileTest, CutsValuesToTheBufferLessOne) {
  TempEnvironment env;
  const std::string path = env.Write("a.ini", "[S]\nk=" + std::string(600, 'x') + "\n").string();
  EXPECT_EQ(GetPrivateProfileString("S", "k", "", 500, path).size(), 499u);
  EXPECT_EQ(GetPrivateProfileString("S", "k", "", 4, path), "xxx");
  EXPECT_EQ(GetPrivateProfileString("S", "k", "", 0, path), "");
}

TEST(IniFileTest, ReadsIntegersFromLeadingDigits) {
  TempEnvironment env;
  const std::string path =
      env.Write("a.ini", "[S]\na=42\nb=17abc\nc=abc\nd=-3\ne=\nf=+8\ng=99999999999999999999999\n")
          .string();
  struct Case {
    const char* key;
    long expected;
  } cases[] = {{"a", 42}, {"b", 17}, {"c", 0}, {"d", -3}, {"e", 0}, {"f", 8},
               {"g", LONG_MAX}, {"missing", 7}};
  for (const auto& c : cases)
    EXPECT_EQ(GetPrivateProfileInt("S", c.key, 7, path), c.expected) << c.key;
}

TEST(IniFileTest, WritingKeepsTheRestOfTheFile) {
  TempEnvironment env;
  const std::string path = env.Write("a.ini",
                                     "; my settings\n"
                                     "[First]\n"
                                     "a=1\n"
                                     "\n"
                                     "[Second]\n"
                                     "b=2\n"
                                     "c=3\n")
                               .string();
  ASSERT_TRUE(WritePrivateProfileString("second", "B", "20", path));
  ASSERT_TRUE(WritePrivateProfileString("First", "new", "n", path));
  ASSERT_TRUE(WritePrivateProfileString("Third", "d", "4", path));
  EXPECT_EQ(TempEnvironment::Read(path),
            "; my settings\n"
            "[First]\n"
            "a=1\n"
            "new=n\n"
            "\n"
            "[Second]\n"
            "B=20\n"
            "c=3\n"
            "\n"
            "[Third]\n"
            "d=4\n");
  // The atomic replace leaves no temporary file behind.
  int files = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(env.root())) ++files;
  EXPECT_EQ(files, 3);  // home, tmp and a.ini
}

TEST(IniFileTest, CreatesMissingFileAndRefusesLineBreaksInValues) {
  TempEnvironment env;
  const std::string path = env.Path("new.ini").string();
  ASSERT_TRUE(WritePrivateProfileString("S", "k", "first\nevil=1", path));
  EXPECT_EQ(TempEnvironment::Read(path), "[S]\nk=first\n");
  EXPECT_FALSE(WritePrivateProfileString("S", "k", "v", env.Path("no/such/dir/x.ini").string()));
}

}  // namespace
}  // namespace lindrel::platform
