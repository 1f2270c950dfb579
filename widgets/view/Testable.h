// LINDREL_WIDGETS_TESTABLE marks the view's own classes that the project's tests drive
// directly. They are visible in the library's symbol table so the tests link against the
// shipped code, but their headers are not installed: programs use ComparisonView.
#pragma once

#define LINDREL_WIDGETS_TESTABLE __attribute__((visibility("default")))
