// The protocol between LindrelDemo's main window and its child windows: the main window
// calls procedures on a child by name (Q_INVOKABLE methods or slots), late bound. A child
// that lacks a procedure, or a missing child, makes the call do nothing.
//
// Procedures the main window calls: Refresh_View, Change_Font(bool), mnuViewLegend_Click,
// Swap, ReportOptions, mnuReportHTMLFile_Click, mnuReportTextFile_Click,
// mnuReportTabDelimitedFile_Click, mnuReportCommaDelimitedFile_Click,
// cmdViewReport_Click, mnuShowDetail_Click, Abort, Form_Resize, AdjustToolbarItems,
// CompareDirectories (Compare Directories window) and cmdCompare_Click (Compare Files
// window); Form_Activate and Form_Deactivate when a child gains or loses the focus among
// the children, so that it can show and hide the main window's menu items that apply to it.
//
// Threading: GUI thread only.
#pragma once

class QObject;

namespace lindrel::demo {

// Calls `procedure()` on `child`; answers false when there is no such child or
// procedure (which callers ignore).
bool CallChild(QObject* child, const char* procedure);
// Calls `procedure(flag)`.
bool CallChild(QObject* child, const char* procedure, bool flag);

}  // namespace lindrel::demo
