#include "control/StateFile.h"

#include <sys/stat.h>

#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "control/LindrelCtrlImpl.h"
#include "lindrel/PropertyTable.h"
#include "tests/support/RecordingListener.h"
#include "tests/support/TempEnvironment.h"

namespace lindrel {
namespace {

using namespace lindrel::testing;

const char* const kKeyOrder[] = {"b_dir_ignore_date_differences",
                                 "b_dir_contents_compare",
                                 "b_dir_show_only_in_master",
                                 "b_dir_show_only_in_source",
                                 "b_dir_show_same_in_both_places",
                                 "b_dir_show_different_in_both_places",
                                 "b_dir_use_subdirectories",
                                 "b_file_ignore_case",
                                 "b_file_ignore_whitespace",
                                 "b_file_ignore_emptylines",
                                 "b_file_quick",
                                 "b_report_html_high_detail",
                                 "b_DoubleWide_Character_Set",
                                 "b_file_show_changes_in_larger_sections",
                                 "b_file_compare_faster",
                                 "b_use_line_bracket",
                                 "l_line_bracket",
                                 "l_thread_priority",
                                 "m_dir_source",
                                 "m_dir_master",
                                 "s_dir_search_ext",
                                 "m_file_source",
                                 "m_file_master",
                                 "m_report_file_master",
                                 "m_report_file_source",
                                 "m_report_file_title",
                                 "s_ignore_regular_expression",
                                 "b_use_ignore_regular_expression",
                                 "b_dir_throttle"};

TEST(StateFileTest, ResolvesPaths) {
  TempEnvironment env;
  const std::string home = env.home().string();
  struct Case {
    std::string name;
    std::string path;
  } cases[] = {
      {"", home + "/TVK.INI"},
      {"WDD_COMPARE_DIR_TVK1", home + "/WDD_COMPARE_DIR_TVK1.INI"},
      {"settings.ini", home + "/settings.ini.INI"},
      {"/etc/elsewhere/my.cfg", "/etc/elsewhere/my.cfg"},
      {"rel/dir/name", "rel/dir/name"},
  };
  for (const auto& c : cases) EXPECT_EQ(ResolveStateFilePath(c.name), c.path) << c.name;
}

TEST(StateFileTest, WritesEveryKeyInOrderAndReadsThemBack) {
  TempEnvironment env;
  {
    CLindrelCtrl ctrl("roundtrip");
    ctrl.SetDirIgnoreDateDifferences(1);
    ctrl.SetDirContentCompare(0);
    ctrl.SetDirShowOnlyInMaster(0);
    ctrl.SetDirShowOnlyInSource(0);
    ctrl.SetDirShowSameInBothPlaces(0);
    ctrl.SetDirShowDifferentInBothPlaces(0);
    ctrl.SetDirDoSubDirectories(1);
    ctrl.SetFileIgnoreCase(1);
    ctrl.SetFileIgnoreWhiteSpace(1);
    ctrl.SetFileIgnoreEmptyLines(1);
    ctrl.SetFileQuickCompare(1);
    ctrl.SetReportHTMLHighDetail(1);
    ctrl.SetReportDoubleWideCharset(1);
    ctrl.SetFileShowChangesInLargerSections(1);
    ctrl.SetFileCompareFaster(1);
    ctrl.SetFileUseLineBracket(1);
    ctrl.SetFileLineBracket(-7);
    ctrl.SetThreadPriority(3);
    ctrl.SetDirSource("/src");
    ctrl.SetDirMaster("/mst");
    ctrl.SetDirFileTypes("*.cpp;*.h");
    ctrl.SetFileSource("/a/source file.txt");
    ctrl.SetFileMaster("/a/master file.txt");
    ctrl.SetReportFileMaster("Left");
    ctrl.SetReportFileSource("Right");
    ctrl.SetReportFileTitle("My title");
    ctrl.SetFileIgnoreRegularExpression("^#@@x$");
    ctrl.SetFileUseIgnoreRegularExpression(1);
    ctrl.SetDirThrottle(0);
  }
  const std::string text = TempEnvironment::Read(env.home() / "roundtrip.INI");
  std::size_t position = text.find("[General]\n");
  ASSERT_EQ(position, 0u) << text;
  for (const char* key : kKeyOrder) {
    std::size_t next = text.find(std::string("\n") + key + "=", position);
    ASSERT_NE(next, std::string::npos) << key << " missing or out of order in\n" << text;
    position = next + 1;
  }
  EXPECT_NE(text.find("\nl_line_bracket=-7\n"), std::string::npos);
  EXPECT_NE(text.find("\nb_file_quick=TRUE\n"), std::string::npos);
  EXPECT_NE(text.find("\nb_dir_contents_compare=FALSE\n"), std::string::npos);
  EXPECT_NE(text.find("\nm_dir_master=/mst/\n"), std::string::npos);

  CLindrelCtrl back("roundtrip");
  EXPECT_EQ(back.GetDirIgnoreDateDifferences(), 1);
  EXPECT_EQ(back.GetDirContentCompare(), 0);
  EXPECT_EQ(back.GetDirShowOnlyInMaster(), 0);
  EXPECT_EQ(back.GetDirShowOnlyInSource(), 0);
  EXPECT_EQ(back.GetDirShowSameInBothPlaces(), 0);
  EXPECT_EQ(back.GetDirShowDifferentInBothPlaces(), 0);
  EXPECT_EQ(back.GetDirDoSubDirectories(), 1);
  EXPECT_EQ(back.GetFileIgnoreCase(), 1);
  EXPECT_EQ(back.GetFileIgnoreWhiteSpace(), 1);
  EXPECT_EQ(back.GetFileIgnoreEmptyLines(), 1);
  EXPECT_EQ(back.GetFileQuickCompare(), 1);
  EXPECT_EQ(back.GetReportHTMLHighDetail(), 1);
  EXPECT_EQ(back.GetReportDoubleWideCharset(), 1);
  EXPECT_EQ(back.GetFileShowChangesInLargerSections(), 1);
  EXPECT_EQ(back.GetFileCompareFaster(), 1);
  EXPECT_EQ(back.GetFileUseLineBracket(), 1);
  EXPECT_EQ(back.GetFileLineBracket(), -7);
  EXPECT_EQ(back.GetThreadPriority(), 3);
  EXPECT_EQ(back.GetDirSource(), "/src/");
  EXPECT_EQ(back.GetDirMaster(), "/mst/");
  EXPECT_EQ(back.GetDirFileTypes(), "*.cpp;*.h");
  EXPECT_EQ(back.GetFileSource(), "/a/source file.txt");
  EXPECT_EQ(back.GetFileMaster(), "/a/master file.txt");
  EXPECT_EQ(back.GetReportFileMaster(), "Left");
  EXPECT_EQ(back.GetReportFileSource(), "Right");
  EXPECT_EQ(back.GetReportFileTitle(), "My title");
  EXPECT_EQ(back.GetFileIgnoreRegularExpression(), "^#@@x$");
  EXPECT_EQ(back.GetFileUseIgnoreRegularExpression(), 1);
  EXPECT_EQ(back.GetDirThrottle(), 0);
  EXPECT_EQ(back.GetStateFileName(), "roundtrip");
  EXPECT_FALSE(back.IsModified());
}

// The property table is what the state file holds: every stored property under its key,
// in the file's order, a new component's values as its defaults.
TEST(StateFileTest, HoldsThePropertyTableWithItsDefaults) {
  TempEnvironment env;
  { CLindrelCtrl fresh("defaults"); }
  const std::string text = TempEnvironment::Read(env.home() / "defaults.INI");
  std::vector<std::string> keys;
  std::set<long> dispIds;
  for (const PropertyInfo& p : PropertyTable()) {
    EXPECT_EQ(FindProperty(p.name), &p) << p.name;
    EXPECT_EQ(FindProperty(p.dispId), &p) << p.name;
    EXPECT_TRUE(dispIds.insert(p.dispId).second) << p.name << " shares its dispatch id";
    if (p.stateKey == nullptr) continue;
    keys.push_back(p.stateKey);
    std::string stored = p.defaultText;
    if (p.kind == PropertyKind::Boolean) stored = stored == "1" ? "TRUE" : "FALSE";
    EXPECT_NE(text.find("\n" + keys.back() + "=" + stored + "\n"), std::string::npos)
        << p.name << " is not stored as " << stored << " in\n"
        << text;
  }
  EXPECT_EQ(keys, std::vector<std::string>(std::begin(kKeyOrder), std::end(kKeyOrder)));
  EXPECT_EQ(FindProperty("NoSuchProperty"), nullptr);
  EXPECT_EQ(FindProperty(kDispAboutBox), nullptr);
}

TEST(StateFileTest, DecodesStoredValuesByTheirOwnRules) {
  TempEnvironment env;
  env.Write("home/decode.INI",
            "[General]\n"
            "b_file_quick=false\n"  // only "FALSE" reads FALSE
            "b_file_ignore_case=0\n"
            "b_dir_contents_compare=notFALSEreally\n"
            "b_dir_show_only_in_master=\n"
            "l_line_bracket=abc\n"
            "l_thread_priority=9\n"         // outside the scale: keeps the default
            "m_dir_master=/no/separator\n"  // read as stored, no setter rule
            "m_report_file_title=" +
                std::string(600, 't') + "\n");
  CLindrelCtrl ctrl("decode");
  EXPECT_EQ(ctrl.GetFileQuickCompare(), 1);
  EXPECT_EQ(ctrl.GetFileIgnoreCase(), 1);
  EXPECT_EQ(ctrl.GetDirContentCompare(), 0);
  EXPECT_EQ(ctrl.GetDirShowOnlyInMaster(), 1);
  EXPECT_EQ(ctrl.GetFileLineBracket(), 0);
  EXPECT_EQ(ctrl.GetThreadPriority(), 0);
  EXPECT_EQ(ctrl.GetDirMaster(), "/no/separator");
  EXPECT_EQ(ctrl.GetReportFileTitle(), std::string(499, 't'));
  // Missing keys take their defaults.
  EXPECT_EQ(ctrl.GetFileUseLineBracket(), 0);
  EXPECT_EQ(ctrl.GetDirFileTypes(), "*.*");
  EXPECT_EQ(ctrl.GetReportFileMaster(), "File Master");
}

// The component never writes a NUL byte, and a name cut at one would be another file's: a
// stored text holding one is ignored (the value already held stays), and a state file
// name holding one names no state file.
TEST(StateFileTest, ANulByteNamesNoFileAndNoValue) {
  using namespace std::string_literals;
  TempEnvironment env;
  env.Write("home/nul.INI",
            "[General]\n"
            "m_file_master=/d/b.txt\0.evil\n"s
            "m_dir_source=/d\0/\n"s
            "m_report_file_title=T\0itle\n"s
            "m_file_source=/d/kept.txt\n");
  RecordingListener listener;
  CLindrelCtrl ctrl("nul", nullptr, &listener);
  EXPECT_EQ(ctrl.GetFileMaster(), "");
  EXPECT_EQ(ctrl.GetDirSource(), "");
  EXPECT_EQ(ctrl.GetReportFileTitle(), "Title");
  EXPECT_EQ(ctrl.GetFileSource(), "/d/kept.txt");
  ctrl.SetFileMaster("/held.txt");
  ctrl.LoadProperties("nul");
  EXPECT_EQ(ctrl.GetFileMaster(), "/held.txt");

  const std::string full =
      env.Write("elsewhere.INI", "[General]\nm_file_master=/read.txt\n").string();
  ctrl.LoadProperties(full + "\0.x"s);
  EXPECT_EQ(ctrl.GetFileMaster(), "/held.txt");
  ASSERT_EQ(listener.events.size(), 1u);
  EXPECT_EQ(listener.events[0].code, kErrorStateFilePath);
  EXPECT_FALSE(ResolveStateFilePath("TVK\0"s).has_value());
}

// A state file that already holds every value is not written again (each write waits for
// the disk); one value changed, and it is replaced as a whole.
TEST(StateFileTest, AnUnchangedStateFileIsLeftAlone) {
  TempEnvironment env;
  const auto path = env.home() / "steady.INI";
  { CLindrelCtrl ctrl("steady"); }
  const auto identity = [&path] {
    struct stat info {};
    EXPECT_EQ(::stat(path.c_str(), &info), 0);
    return info.st_ino;
  };
  const auto first = identity();
  const std::string text = TempEnvironment::Read(path);
  { CLindrelCtrl ctrl("steady"); }
  EXPECT_EQ(identity(), first);
  EXPECT_EQ(TempEnvironment::Read(path), text);
  {
    CLindrelCtrl ctrl("steady");
    ctrl.SetFileMaster("/another/master");
  }
  EXPECT_NE(identity(), first);
  EXPECT_NE(TempEnvironment::Read(path).find("m_file_master=/another/master\n"), std::string::npos);
}

TEST(StateFileTest, ChangingTheNameMovesOnlyTheNextWrite) {
  TempEnvironment env;
  env.Write("home/first.INI", "[General]\nm_file_master=/from/first\n");
  env.Write("home/second.INI", "[General]\nm_file_master=/from/second\n[Keep]\nx=1\n");
  {
    CLindrelCtrl ctrl("first");
    EXPECT_EQ(ctrl.GetFileMaster(), "/from/first");
    ctrl.SetStateFileName("second");
    EXPECT_EQ(ctrl.GetFileMaster(), "/from/first");  // not read again
  }
  const std::string second = TempEnvironment::Read(env.home() / "second.INI");
  EXPECT_NE(second.find("m_file_master=/from/first\n"), std::string::npos) << second;
  EXPECT_NE(second.find("[Keep]\nx=1\n"), std::string::npos) << second;
  EXPECT_EQ(TempEnvironment::Read(env.home() / "first.INI"),
            "[General]\nm_file_master=/from/first\n");
}

TEST(StateFileTest, UnusableLindrelDirectoryFiresErrorAndKeepsDefaults) {
  TempEnvironment env;
  const std::string blocker = env.Write("blocker", "a file, not a directory").string();
  ::setenv("LINDREL_HOME", (blocker + "/home").c_str(), 1);
  RecordingListener listener;
  {
    CLindrelCtrl ctrl("anything", nullptr, &listener);
    ASSERT_EQ(listener.events.size(), 1u);
    EXPECT_EQ(listener.events[0].name, "OnError");
    EXPECT_EQ(listener.events[0].code, 501);
    EXPECT_EQ(listener.events[0].text,
              "An error ocurred while creating a fully qualified path name to the Lindrel "
              "initialization file.");
    EXPECT_EQ(ctrl.GetDirFileTypes(), "*.*");
  }
  EXPECT_EQ(listener.Count("OnError"), 2u);  // the write at destruction fails the same way

  // A full path needs no Lindrel directory.
  listener.events.clear();
  { CLindrelCtrl ctrl(env.Path("direct.ini").string(), nullptr, &listener); }
  EXPECT_TRUE(listener.events.empty());
  EXPECT_NE(TempEnvironment::Read(env.Path("direct.ini")).find("[General]"), std::string::npos);
}

}  // namespace
}  // namespace lindrel

namespace lindrel {
namespace {

TEST(StateFileTest, ATextWithALineBreakStoresWhatALineCanHold) {
  lindrel::testing::TempEnvironment env;
  env.Write("home/breaks.INI", "[General]\nm_file_master=/old\nm_report_file_title=Old\n");
  {
    CLindrelCtrl ctrl("breaks");
    ctrl.SetFileMaster("/new/path\nsecond line");
    ctrl.SetReportFileTitle("Title\r\nmore");
    ctrl.SetReportFileSource(std::string("cut\0here", 8));
  }
  CLindrelCtrl reread("breaks");
  EXPECT_EQ(reread.GetFileMaster(), "/new/path");
  EXPECT_EQ(reread.GetReportFileTitle(), "Title");
  EXPECT_EQ(reread.GetReportFileSource(), "cut");
  // Nothing of the cut-off text became a line of its own.
  const std::string text = TempEnvironment::Read(env.home() / "breaks.INI");
  EXPECT_EQ(text.find("second line"), std::string::npos) << text;
  EXPECT_EQ(text.find("more"), std::string::npos) << text;
}

TEST(StateFileTest, ATextCutToItsLimitKeepsWholeCharacters) {
  lindrel::testing::TempEnvironment env;
  // 498 ASCII bytes, then a 2-byte character that the 499-byte limit would split.
  env.Write("home/utf8.INI",
            "[General]\nm_report_file_title=" + std::string(498, 'x') + "\xC3\xA9tail\n");
  CLindrelCtrl ctrl("utf8");
  EXPECT_EQ(ctrl.GetReportFileTitle(), std::string(498, 'x'));
}

}  // namespace
}  // namespace lindrel
