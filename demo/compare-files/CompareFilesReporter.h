// CompareFilesReporter: the reports of the Compare Files window, written through its
// component Lindrel1 and opened for the user.
//
// A report is opened only when the request in hand wrote it. Whatever lies at the path
// otherwise is not this report: an older report, or the file the component refused to
// overwrite (one of the compared files). The status line then says why nothing opens.
// The component's answer alone does not tell: a delimited report of a comparison
// without records is answered as written but writes nothing. A written report replaces
// its target whole (a new file under the path), so the path's stamp tells.
//
// Threading: GUI thread only.
#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace lindrel::widgets {
class LindrelWidget;
}

namespace lindrel::demo {

class CompareFilesReporter {
 public:
  // `component` and `window` outlive the reporter; `status` shows a sentence in the
  // window's status line.
  CompareFilesReporter(widgets::LindrelWidget& component, QWidget& window,
                       std::function<void(const QString&)> status);

  // Writes one report of the last comparison of `master` and `source`; true when this
  // request wrote it, otherwise Problem() says why.
  bool Create(const QString& path, long type, long style, const QString& master,
              const QString& source);
  // Opens a written report: HTML in the default viewer, others in the text editor.
  void Open(const QString& path, bool html);
  // The component's error while a report is asked for is the reason given.
  void ComponentError(const QString& message);

  // "" or why the last report was not written or opened.
  const QString& Problem() const { return problem_; }
  void SetProblem(const QString& text);
  void ClearProblem() { problem_.clear(); }

 private:
  widgets::LindrelWidget& component_;
  QWidget& window_;
  std::function<void(const QString&)> status_;
  QString problem_;
  QString componentError_;  // the component's message during a report request
  bool collecting_ = false;
};

}  // namespace lindrel::demo
