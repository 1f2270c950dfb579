#include "platform/IniFile.h"

#include <sys/stat.h>
#include <unistd.h>

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
      {"General", "Key One", "spaced value"},   {"general", "KEY ONE", "spaced value"},
      {"GENERAL", "quoted", "  kept blanks  "}, {"General", "empty", ""},
      {"Other", "key one", "other section"},    {"General", "missing", "<default>"},
      {"Missing", "Key One", "<default>"},      {"General", "; comment", "<default>"},
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

  // "é" is two bytes and "€" three: a cut never leaves half a character behind.
  const std::string accented = env.Write("b.ini", "[S]\nk=ab\xC3\xA9\xE2\x82\xAC\n").string();
  struct Case {
    std::size_t buffer;
    const char* expected;
  } cases[] = {{4, "ab"},
               {5, "ab\xC3\xA9"},
               {6, "ab\xC3\xA9"},
               {7, "ab\xC3\xA9"},
               {8, "ab\xC3\xA9\xE2\x82\xAC"}};
  for (const auto& c : cases)
    EXPECT_EQ(GetPrivateProfileString("S", "k", "", c.buffer, accented), c.expected) << c.buffer;
}

// Settings files a user or another program may leave behind with values of many
// megabytes: a read keeps no more than the buffer, whatever lies before or after.
TEST(IniFileTest, HugeValuesAreReadThroughTheBufferOnly) {
  TempEnvironment env;
  const std::string huge(10 << 20, 'v');
  const std::string path = env.Write("big.ini", "[Other]\nfiller=" + huge +
                                                    "\n"
                                                    "[S]\n"
                                                    "big=" +
                                                    huge +
                                                    "\n"
                                                    "quoted=\"" +
                                                    huge +
                                                    "\"   \n"
                                                    "[" +
                                                    huge +
                                                    "]\nsmall=hidden\n"
                                                    "[S]\n"
                                                    "number=  -42" +
                                                    huge +
                                                    "\n"
                                                    "small=  last  \n")
                               .string();
  EXPECT_EQ(GetPrivateProfileString("S", "big", "", 500, path), huge.substr(0, 499));
  // The closing quote ten megabytes on still takes the opening one away.
  EXPECT_EQ(GetPrivateProfileString("S", "quoted", "", 500, path), huge.substr(0, 499));
  EXPECT_EQ(GetPrivateProfileString("S", "small", "", 500, path), "last");
  EXPECT_EQ(GetPrivateProfileInt("S", "number", 7, path), -42);
  EXPECT_EQ(GetPrivateProfileString("S", "missing", "dflt", 500, path), "dflt");
}

TEST(IniFileTest, ReadsIntegersFromLeadingDigits) {
  TempEnvironment env;
  const std::string path =
      env.Write("a.ini", "[S]\na=42\nb=17abc\nc=abc\nd=-3\ne=\nf=+8\ng=99999999999999999999999\n")
          .string();
  struct Case {
    const char* key;
    long expected;
  } cases[] = {{"a", 42}, {"b", 17}, {"c", 0},        {"d", -3},
               {"e", 0},  {"f", 8},  {"g", LONG_MAX}, {"missing", 7}};
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
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(env.root()))
    ++files;
  EXPECT_EQ(files, 3);  // home, tmp and a.ini
}

TEST(IniFileTest, CreatesMissingFileAndRefusesLineBreaksInValues) {
  TempEnvironment env;
  const std::string path = env.Path("new.ini").string();
  ASSERT_TRUE(WritePrivateProfileString("S", "k", "first", path));
  EXPECT_EQ(TempEnvironment::Read(path), "[S]\nk=first\n");
  EXPECT_FALSE(WritePrivateProfileString("S", "k", "v", env.Path("no/such/dir/x.ini").string()));

  // Whatever would split the line or add structure of its own is refused whole.
  struct Case {
    std::string section, key, value;
  } refused[] = {
      {"S", "k", "first\nevil=1"},
      {"S", "k", "a\rb"},
      {"S", "k", std::string("a\0b", 3)},
      {"S", "k\nx", "v"},
      {"S", "k=v", "x"},
      {"S", " ", "x"},
      {"S", "[Evil]", "x"},
      {"S", ";k", "x"},
      {"S]", "k", "x"},
      {"", "k", "x"},
      {"S\n[T]", "k", "x"},
  };
  for (const auto& c : refused) {
    EXPECT_FALSE(WritePrivateProfileString(c.section, c.key, c.value, path)) << c.key;
    IniDocument document = IniDocument::Load(path);
    const Status status = document.Set(c.section, c.key, c.value);
    EXPECT_FALSE(status.ok()) << c.key;
    EXPECT_FALSE(status.reason().empty()) << c.key;
    EXPECT_EQ(document.Text(), "[S]\nk=first\n") << c.key;
  }
  EXPECT_EQ(TempEnvironment::Read(path), "[S]\nk=first\n");
  EXPECT_TRUE(IsStorableProfileValue("a=b [c] ;d"));
  EXPECT_FALSE(IsStorableProfileValue("a\nb"));
}

TEST(IniFileTest, KeepsEachLinesOwnLineEnd) {
  TempEnvironment env;
  struct Case {
    const char* name;
    const char* before;
    const char* after;
  } cases[] = {
      {"CR LF", "[S]\r\na=1\r\nb=2\r\n", "[S]\r\na=1\r\nb=20\r\nc=3\r\n\r\n[T]\r\nd=4\r\n"},
      {"LF", "[S]\na=1\nb=2\n", "[S]\na=1\nb=20\nc=3\n\n[T]\nd=4\n"},
      {"mixed", "[S]\r\na=1\nb=2\n", "[S]\r\na=1\nb=20\nc=3\r\n\r\n[T]\r\nd=4\r\n"},
      {"no final line end", "[S]\r\na=1\r\nb=2", "[S]\r\na=1\r\nb=20\r\nc=3\r\n\r\n[T]\r\nd=4\r\n"},
  };
  for (const auto& c : cases) {
    const std::string path = env.Write(std::string(c.name) + ".ini", c.before).string();
    ASSERT_TRUE(WritePrivateProfileString("S", "b", "20", path)) << c.name;
    ASSERT_TRUE(WritePrivateProfileString("S", "c", "3", path)) << c.name;
    ASSERT_TRUE(WritePrivateProfileString("T", "d", "4", path)) << c.name;
    EXPECT_EQ(TempEnvironment::Read(path), c.after) << c.name;
    EXPECT_EQ(GetPrivateProfileString("S", "a", "", 500, path), "1") << c.name;
  }
}

TEST(IniFileTest, WritesThroughALinkAndKeepsTheFileMode) {
  TempEnvironment env;
  const std::string target = env.Write("real/settings.ini", "[S]\na=1\n").string();
  ASSERT_EQ(::chmod(target.c_str(), 0640), 0);
  const std::string link = env.Path("link.ini").string();
  ASSERT_EQ(::symlink("real/settings.ini", link.c_str()), 0);

  ASSERT_TRUE(WritePrivateProfileString("S", "b", "2", link));
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_EQ(TempEnvironment::Read(target), "[S]\na=1\nb=2\n");
  struct stat info {};
  ASSERT_EQ(::stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 07777, 0640u);

  const std::string loop = env.Path("loop.ini").string();
  ASSERT_EQ(::symlink("loop.ini", loop.c_str()), 0);
  EXPECT_FALSE(WritePrivateProfileString("S", "a", "1", loop));
  EXPECT_TRUE(std::filesystem::is_symlink(loop));
}

}  // namespace
}  // namespace lindrel::platform

namespace lindrel::platform {
namespace {

TEST(IniFileTest, AFileThatCannotBeReadIsNeverReplaced) {
  lindrel::testing::TempEnvironment env;
  // A directory stands in for any file that exists but cannot be read.
  const std::string unreadable = env.Path("settings.ini").string();
  std::filesystem::create_directories(unreadable);
  Status status;
  IniDocument::Load(unreadable, &status);
  EXPECT_FALSE(status.ok());
  EXPECT_EQ(status.path(), unreadable);
  EXPECT_FALSE(WritePrivateProfileString("S", "k", "v", unreadable));
  EXPECT_TRUE(std::filesystem::is_directory(unreadable));

  IniDocument::Load(env.Path("missing.ini").string(), &status);
  EXPECT_TRUE(status.ok()) << "a missing file is simply empty";
}

TEST(IniFileTest, CutsOnlyBetweenCharacters) {
  struct Case {
    std::string text;
    std::size_t size;
    std::string expected;
  } cases[] = {
      {"abc", 5, "abc"},
      {"abcdef", 3, "abc"},
      {"a\xC3\xA9z", 2, "a"},  // would split a 2-byte character
      {"a\xC3\xA9z", 3, "a\xC3\xA9"},
      {"\xE2\x82\xAC\xE2\x82\xAC", 4, "\xE2\x82\xAC"},
      {"\xF0\x9F\x98\x80!", 3, ""},
  };
  for (const auto& c : cases) {
    std::string text = c.text;
    CutAtCharacter(text, c.size);
    EXPECT_EQ(text, c.expected) << c.text << " at " << c.size;
  }
}

}  // namespace
}  // namespace lindrel::platform
