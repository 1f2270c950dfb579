#include "lindrel/Errors.h"

#include "control/ControlInternals.h"
#include "control/LindrelCtrlImpl.h"
#include "tests/support/RecordingListener.h"
#include "tests/support/TempEnvironment.h"

namespace lindrel {
namespace {

using namespace lindrel::testing;

TEST(ErrorsTest, MessageTextsAreExact) {
  struct Case {
    long code;
    std::string text;
  } cases[] = {
      {500, "An error ocurred while writing to Lindrel initialization file. "},
      {501,
       "An error ocurred while creating a fully qualified path name to the Lindrel "
       "initialization file."},
      {502, "Search is in process, abort current search first."},
      {503, "The parameters sent are not valid."},
      {504, "Unable to open file:  "},
      {506, "RecordNumber argument is invalid"},
      {507, "Invalid Search String:  "},
      {508, "Invalid Search Path: "},
      {600, "Invalid Master File, may not exist."},
      {601, "Invalid Source File, may not exist."},
      {602, "Unable to read file: "},
  };
  for (const auto& c : cases) {
    ASSERT_NE(ErrorMessage(c.code), nullptr) << c.code;
    EXPECT_EQ(std::string(ErrorMessage(c.code)), c.text) << c.code;
  }
  for (long code : {0L, 499L, 505L, 509L, 603L}) EXPECT_EQ(ErrorMessage(code), nullptr) << code;
}

TEST(ErrorsTest, OnErrorCarriesMessageThenDetailAndUnknownCodesFireNothing) {
  TempEnvironment env;
  RecordingListener listener;
  CLindrelCtrl ctrl("errors", nullptr, &listener);
  Internals(ctrl).FireError(kErrorUnableToOpenFile, "/no/such dir/out.txt");
  Internals(ctrl).FireError(505, "ignored");
  Internals(ctrl).FireError(kErrorInvalidSearchPath);
  ASSERT_EQ(listener.events.size(), 2u);
  EXPECT_EQ(listener.events[0].code, 504);
  EXPECT_EQ(listener.events[0].text, "Unable to open file:  /no/such dir/out.txt");
  EXPECT_EQ(listener.events[1].code, 508);
  EXPECT_EQ(listener.events[1].text, "Invalid Search Path: ");
}

}  // namespace
}  // namespace lindrel
