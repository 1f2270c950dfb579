// The message texts of the component's error codes (lindrel/Errors.h). In the lowest layer,
// so that every layer that reports an error can word it.
#include "lindrel/Errors.h"

namespace lindrel {

const char* ErrorMessage(long code) {
  switch (code) {
    case kErrorWritingStateFile:
      return "An error ocurred while writing to Lindrel initialization file. ";
    case kErrorStateFilePath:
      return "An error ocurred while creating a fully qualified path name to the Lindrel "
             "initialization file.";
    case kErrorSearchInProcess: return "Search is in process, abort current search first.";
    case kErrorInvalidParameters: return "The parameters sent are not valid.";
    case kErrorUnableToOpenFile: return "Unable to open file:  ";
    case kErrorInvalidRecordNumber: return "RecordNumber argument is invalid";
    case kErrorInvalidSearchString: return "Invalid Search String:  ";
    case kErrorInvalidSearchPath: return "Invalid Search Path: ";
    case kErrorInvalidMasterFile: return "Invalid Master File, may not exist.";
    case kErrorInvalidSourceFile: return "Invalid Source File, may not exist.";
    case kErrorReadingFile: return "Unable to read file: ";
    default: return nullptr;
  }
}

}  // namespace lindrel
