/// @file
/// The listener interface LindrelEvents.
#pragma once

#include <string>

#include "lindrel/export.h"

namespace lindrel {

/// The five events of a Lindrel component.
///
/// A host derives from this class, overrides what it needs and registers the object with
/// CLindrelCtrl::SetEventListener. Every event is fired on the thread that owns the
/// component: Started events and refusals inside the method that caused them, completions
/// and job errors from the component's event host, never on a worker thread.
///
/// What a handler may do: read results, call any method of the component (an abort
/// method or a new begin included) and change properties. A handler of a completion or
/// of a job error may also destroy the component, as a host that closes its window on
/// completion does; that must be the last use of the component in the handler, and the
/// events still queued for it are dropped. A handler must not destroy the component from
/// inside a Started event or a refusal, whose method is still running.
class LINDREL_EXPORT LindrelEvents {
 public:
  virtual ~LindrelEvents();

  /// Dispatch id 1: a directory comparison finished without being aborted.
  virtual void DirCompareCompleted() {}
  /// Dispatch id 2: a request was refused or a job met an error. `errorString` is the
  /// code's message followed directly by its detail; the handler may change it.
  virtual void OnError(long errorCode, std::string& errorString) {
    (void)errorCode;
    (void)errorString;
  }
  /// Dispatch id 3: DirCompareBegin accepted the request; the worker has not started.
  virtual void DirCompareStarted() {}
  /// Dispatch id 4: a file comparison was accepted; the engine has not started.
  virtual void FileCompareStarted() {}
  /// Dispatch id 5: a file comparison finished without being aborted; `compareResult` is
  /// the number of change records stored.
  virtual void FileCompareCompleted(long compareResult) { (void)compareResult; }
};

}  // namespace lindrel
