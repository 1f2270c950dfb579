#include <functional>
#include <map>
#include <string>
#include <vector>

#include "lindrel/LindrelCtrl.h"
#include "tests/support/TempEnvironment.h"

namespace lindrel {
namespace {

using namespace lindrel::testing;

struct TextProperty {
  const char* name;
  long dispId;
  std::string (CLindrelCtrl::*get)() const;
  void (CLindrelCtrl::*set)(const std::string&);
  const char* defaultValue;
};

struct LongProperty {
  const char* name;
  long dispId;
  long (CLindrelCtrl::*get)() const;
  void (CLindrelCtrl::*set)(long);
  long defaultValue;
  bool boolean;
};

// Every writable property with its default, as the property list gives them: the tests
// below check that the component's accessors, dispatch ids and state file follow it.
struct PropertyLists {
  std::vector<TextProperty> texts;
  std::vector<LongProperty> longs;

  PropertyLists() {
#define TEXT_PROPERTY(Name, Default) \
  texts.push_back(                   \
      {#Name, kDisp##Name, &CLindrelCtrl::Get##Name, &CLindrelCtrl::Set##Name, Default});
#define LONG_PROPERTY(Name, Default, boolean) \
  longs.push_back(                            \
      {#Name, kDisp##Name, &CLindrelCtrl::Get##Name, &CLindrelCtrl::Set##Name, Default, boolean});
#define PROPERTY_Boolean(Name, Default) LONG_PROPERTY(Name, Default, true)
#define PROPERTY_Number(Name, Default) LONG_PROPERTY(Name, Default, false)
#define PROPERTY_Priority(Name, Default) LONG_PROPERTY(Name, Default, false)
#define PROPERTY_Text(Name, Default) TEXT_PROPERTY(Name, Default)
#define PROPERTY_Directory(Name, Default) TEXT_PROPERTY(Name, Default)
#define PROPERTY(Name, member, Kind, Default, StateKey) PROPERTY_##Kind(Name, Default)
    LINDREL_PROPERTIES(PROPERTY)
#undef PROPERTY
#undef PROPERTY_Directory
#undef PROPERTY_Text
#undef PROPERTY_Priority
#undef PROPERTY_Number
#undef PROPERTY_Boolean
#undef LONG_PROPERTY
#undef TEXT_PROPERTY
  }
};
const PropertyLists kProperties;
const std::vector<TextProperty>& kTexts = kProperties.texts;
const std::vector<LongProperty>& kLongs = kProperties.longs;

TEST(PropertiesTest, StartAtTheirDefaults) {
  TempEnvironment env;
  CLindrelCtrl ctrl;
  for (const auto& p : kTexts) EXPECT_EQ((ctrl.*p.get)(), p.defaultValue) << p.name;
  for (const auto& p : kLongs) EXPECT_EQ((ctrl.*p.get)(), p.defaultValue) << p.name;
  EXPECT_EQ(ctrl.GetDirCompareTime(), 0);
  EXPECT_EQ(ctrl.GetFileCompareTime(), 0);
  EXPECT_EQ(ctrl.GetDirCompareActive(), 0);
  EXPECT_EQ(ctrl.GetFileCompareActive(), 0);
  EXPECT_EQ(ctrl.GetDirCompareResultsCount(), 0);
  EXPECT_EQ(ctrl.FileCompareResultsCount(), 0);
  EXPECT_FALSE(ctrl.IsModified());
}

TEST(PropertiesTest, SettersStoreMarkModifiedAndAnnounceTheirDispatchId) {
  TempEnvironment env;
  CLindrelCtrl ctrl("props");
  std::vector<long> notices;
  ctrl.SetPropertyChangedHandler([&](long id) { notices.push_back(id); });

  for (const auto& p : kTexts) {
    notices.clear();
    ctrl.SetModifiedFlag(false);
    (ctrl.*p.set)("/some where/x y");
    EXPECT_TRUE(ctrl.IsModified()) << p.name;
    EXPECT_EQ(notices, std::vector<long>{p.dispId}) << p.name;
    std::string expected = "/some where/x y";
    if (p.dispId == kDispDirSource || p.dispId == kDispDirMaster) expected += "/";
    EXPECT_EQ((ctrl.*p.get)(), expected) << p.name;
  }
  for (const auto& p : kLongs) {
    notices.clear();
    ctrl.SetModifiedFlag(false);
    (ctrl.*p.set)(3);
    EXPECT_TRUE(ctrl.IsModified()) << p.name;
    EXPECT_EQ(notices, std::vector<long>{p.dispId}) << p.name;
    EXPECT_EQ((ctrl.*p.get)(), p.boolean ? 1 : 3) << p.name;
    if (p.boolean) {
      (ctrl.*p.set)(-1);  // any non-zero value reads back TRUE
      EXPECT_EQ((ctrl.*p.get)(), 1) << p.name;
      (ctrl.*p.set)(0);
      EXPECT_EQ((ctrl.*p.get)(), 0) << p.name;
    }
  }
}

// The dispatch ids are part of the published interface, so each is pinned by its number:
// a renumbered enumerator would pass every test that compares against the enumerator.
TEST(PropertiesTest, DispatchIdsKeepTheirPublishedNumbers) {
  const std::map<std::string, long> published = {
      {"DirSource", 1},
      {"DirMaster", 2},
      {"ThreadPriority", 4},
      {"DirFileTypes", 5},
      {"DirShowOnlyInMaster", 6},
      {"DirShowOnlyInSource", 7},
      {"DirDoSubDirectories", 8},
      {"DirShowSameInBothPlaces", 10},
      {"DirShowDifferentInBothPlaces", 11},
      {"FileMaster", 12},
      {"FileSource", 13},
      {"FileIgnoreCase", 16},
      {"FileIgnoreWhiteSpace", 17},
      {"FileIgnoreEmptyLines", 18},
      {"FileQuickCompare", 19},
      {"StateFileName", 22},
      {"DirContentCompare", 23},
      {"ReportFileMaster", 24},
      {"ReportFileTitle", 25},
      {"ReportFileSource", 26},
      {"DirIgnoreDateDifferences", 27},
      {"FileShowChangesInLargerSections", 28},
      {"FileCompareFaster", 29},
      {"FileUseLineBracket", 30},
      {"FileLineBracket", 31},
      {"FileIgnoreRegularExpression", 32},
      {"FileUseIgnoreRegularExpression", 33},
      {"ReportHTMLHighDetail", 34},
      {"ReportDoubleWideCharset", 35},
  };
  TempEnvironment env;
  CLindrelCtrl ctrl("ids");
  std::vector<long> notices;
  ctrl.SetPropertyChangedHandler([&](long id) { notices.push_back(id); });
  size_t checked = 0;
  auto expectNotice = [&](const char* name) {
    const auto it = published.find(name);
    if (it == published.end()) return;  // an addition of ours, not a published property
    ++checked;
    EXPECT_EQ(notices, std::vector<long>{it->second}) << name;
  };
  for (const auto& p : kTexts) {
    notices.clear();
    (ctrl.*p.set)("/x/y");
    expectNotice(p.name);
  }
  for (const auto& p : kLongs) {
    notices.clear();
    (ctrl.*p.set)(2);
    expectNotice(p.name);
  }
  EXPECT_EQ(checked, published.size());

  // Read-only properties and methods have no setter to announce them.
  const std::pair<long, long> fixed[] = {
      {kDispDirCompareTime, 3},
      {kDispDirCompareResultsCount, 9},
      {kDispFileCompareActive, 14},
      {kDispFileCompareTime, 15},
      {kDispDirCompareActive, 20},
      {kDispDirCompareBegin, 36},
      {kDispDirCompareAbort, 37},
      {kDispDirCompareResultsGet, 38},
      {kDispFileCompareBegin, 39},
      {kDispFileCompareAbort, 40},
      {kDispDirSaveDataToTabFile, 41},
      {kDispFileCompareResultsCount, 42},
      {kDispFileCompareResultsGet, 43},
      {kDispFileCompareBeginSynchronous, 44},
      {kDispFileCompareCreateReport, 45},
      {kDispAlignmentChangeAdd, 46},
      {kDispAlignmentChangeClear, 47},
      {kDispAlignmentChangeUndo, 48},
      {kDispAboutBox, -552},
  };
  for (const auto& [id, number] : fixed) EXPECT_EQ(id, number);
}

TEST(PropertiesTest, DirectorySettersAppendOneSeparator) {
  TempEnvironment env;
  CLindrelCtrl ctrl;
  std::vector<long> notices;
  ctrl.SetPropertyChangedHandler([&](long id) { notices.push_back(id); });
  struct Case {
    std::string value;
    std::string stored;
    bool announced;
  } cases[] = {
      {"/data/master", "/data/master/", true},
      {"/data/master/", "/data/master/", true},
      {"ab", "ab/", true},
      {"/", "/", true},
      {"a", "a", true},
      {"", "", false},
  };
  for (const auto& c : cases) {
    for (bool master : {true, false}) {
      notices.clear();
      ctrl.SetModifiedFlag(false);
      if (master)
        ctrl.SetDirMaster(c.value);
      else
        ctrl.SetDirSource(c.value);
      EXPECT_EQ(master ? ctrl.GetDirMaster() : ctrl.GetDirSource(), c.stored) << c.value;
      EXPECT_EQ(ctrl.IsModified(), c.announced) << c.value;
      EXPECT_EQ(notices.size(), c.announced ? 1u : 0u) << c.value;
    }
  }
}

TEST(PropertiesTest, ThreadPriorityIgnoresValuesOutsideTheScale) {
  TempEnvironment env;
  CLindrelCtrl ctrl;
  ctrl.SetThreadPriority(3);
  ctrl.SetModifiedFlag(false);
  for (long value : {5L, -1L, 100L}) {
    ctrl.SetThreadPriority(value);
    EXPECT_EQ(ctrl.GetThreadPriority(), 3) << value;
  }
  EXPECT_FALSE(ctrl.IsModified());
  ctrl.SetThreadPriority(0);
  EXPECT_EQ(ctrl.GetThreadPriority(), 0);
  ctrl.SetThreadPriority(4);
  EXPECT_EQ(ctrl.GetThreadPriority(), 4);
}

TEST(PropertiesTest, ThreadPriorityScaleDescriptions) {
  const char* expected[] = {"Idle (0)", "Lowest (1)", "Normal (2)", "Highest (3)",
                            "Time Critical (4)"};
  for (long i = 0; i < 5; ++i) EXPECT_STREQ(ThreadPriorityDescription(i), expected[i]);
  EXPECT_EQ(ThreadPriorityDescription(5), nullptr);
  EXPECT_EQ(static_cast<long>(ThreadPriorities::TimeCritical), 4);
}

TEST(PropertiesTest, ResetRestoresDefaultsThenReadsTheStateFile) {
  TempEnvironment env;
  env.Write("home/reset.INI", "[General]\nm_report_file_title=From file\n");
  CLindrelCtrl ctrl("reset");
  EXPECT_EQ(ctrl.GetReportFileTitle(), "From file");
  ctrl.SetFileMaster("/tmp/x");
  ctrl.SetReportFileTitle("Changed");
  ctrl.ResetProperties();
  EXPECT_EQ(ctrl.GetFileMaster(), "");
  EXPECT_EQ(ctrl.GetReportFileTitle(), "From file");
  EXPECT_EQ(ctrl.GetStateFileName(), "reset");
}

TEST(PropertiesTest, AboutBoxGoesThroughTheHandler) {
  TempEnvironment env;
  CLindrelCtrl ctrl;
  ctrl.AboutBox();  // no handler: nothing happens
  int shown = 0;
  ctrl.SetAboutBoxHandler([&] { ++shown; });
  ctrl.AboutBox();
  EXPECT_EQ(shown, 1);
}

}  // namespace
}  // namespace lindrel
