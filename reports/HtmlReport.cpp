#include "reports/HtmlReport.h"

#include <atomic>
#include <memory>
#include <vector>

#include "lindrel/Errors.h"
#include "reports/HtmlColour.h"
#include "reports/MarkAhead.h"
#include "reports/ReportFile.h"

namespace lindrel::reports {

namespace {

enum class Style { kSideBySide, kAllInOne };

// Reports with fewer difference rows are marked on the writing thread: a second thread
// would cost more than it saves.
std::atomic<std::size_t> markAheadMinimumRows{64};

const LineEntry& EmptyEntry() {
  static const LineEntry empty;
  return empty;
}

void WriteCountLine(ReportFile& out, std::uint32_t colour, long count, std::string_view singular,
                    std::string_view plural, std::string_view ending) {
  out.Write("<font color=");
  out.Write(QuotedColour(colour));
  out.Write(">");
  out.Write(count);
  out.Write(count == 1 ? singular : plural);
  out.Write(ending);
}

// An all-in-one row whose words could not be compared: both texts, unmarked, so the
// master's line is not lost.
std::string UnmarkedAllInOne(std::string_view master, std::string_view source) {
  if (master.empty() || master == source) return std::string(source);
  if (source.empty()) return std::string(master);
  std::string both(master);
  both += "<br>\n";
  both += source;
  return both;
}

class HtmlWriter {
 public:
  HtmlWriter(Style style, const ReportInputs& inputs, const HtmlOptions& options,
             const LineTable& master, const LineTable& source)
      : style_(style),
        inputs_(inputs),
        options_(options),
        master_(master),
        source_(source),
        marker_(options.comparer, options.wordOptions, wordCounters_),
        marks_(wordCounters_),
        grey_(QuotedColour(kGrey)),
        white_(QuotedColour(kWhite)),
        yellow_(QuotedColour(kYellow)) {}

  bool Write(const std::string& target) {
    ReportFile out;
    if (!out.Open(target)) return Fail(target);
    if (inputs_.RecordCount() == 0) {
      WriteHeader(out);
      out.Write("  </body>\n</html>\n");
      return out.Close() || Fail(target);
    }

    // The header's counts are known before the body unless they count words: then the
    // body waits in an unnamed file beside the target until they are.
    if (!options_.highDetail) {
      WriteHeader(out);
      WriteBody(out);
      return out.Close() || Fail(target);
    }
    ReportFile body;
    if (!body.OpenScratch(target)) return Fail(target);
    WriteBody(body);
    WriteHeader(out);
    out.CopyFrom(body);
    const bool bodyOk = body.Close();
    // A failed body leaves the target as it was.
    if (!bodyOk) return Fail(target);
    return out.Close() || Fail(target);
  }

 private:
  bool Fail(const std::string& target) {
    inputs_.FireError(kErrorUnableToOpenFile, target);
    return false;
  }

  void WriteHeader(ReportFile& out) {
    out.Write("<html>\n<head>\n");
    if (options_.doubleWideCharset) {
      out.Write("<meta http-equiv='Content-Type' content='text/html; charset=Shift_JIS'>\n");
    }
    out.Write("</head>\n<body>\n");
    if (!options_.title.empty()) {
      out.Write("<h1 align=\"center\">");
      out.Write(EscapeHtml(options_.title));
      out.Write("</h1>\n");
    }
    out.Write("<p align=\"center\">Date and Time: ");
    out.Write(inputs_.timestamp);
    out.Write("</p>\n<p align=\"center\">Original:  ");
    out.Write(EscapeHtml(inputs_.masterCaption));
    out.Write("<br>\nModified:  ");
    out.Write(EscapeHtml(inputs_.sourceCaption));
    out.Write("</p>\n<p align=\"center\">Compare File Results: <br>\n");
    if (inputs_.differWithoutRecords && inputs_.RecordCount() == 0) {
      // Three counts of 0 would say the files are the same.
      out.Write(kDifferWithoutRecordsText);
      out.Write("<br><br>\n");
      return;
    }
    const ChangeCounts shown = options_.highDetail ? wordCounters_ : inputs_.counters;
    WriteCountLine(out, kChangedColour, shown.changes, "    Change Found", "     Changes Found",
                   "</font><br>\n");
    WriteCountLine(out, kAddedColour, shown.additions, "    Addition Found", "     Additions Found",
                   "</font><br>\n");
    WriteCountLine(out, kDeletedColour, shown.deletions, "    Deletion Found",
                   "     Deletions Found", "</font><br><br>\n");
  }

  void WriteBody(ReportFile& body) {
    body.Write("<div align=\"center\">\n<center>\n");
    body.Write("<table border=\" 1 \" cellpadding=\" 0 \" cellspacing=\" 0 \" width=\" 100%\">\n");
    body.Write("<tr>\n");
    WriteTitleRow(body);
    body.Write("</tr>\n");

    const long rows = NumberOfLines(source_);
    // The difference rows, in order: from the first padded one on, every row is one.
    std::vector<long> differences;
    bool padSeen = false;
    for (long i = 0; i < rows; ++i) {
      const LineEntry& m = MasterRow(i);
      const LineEntry& s = source_.entries[static_cast<std::size_t>(i)];
      const bool difference = padSeen || m.mark != kPlainMark || s.mark != kPlainMark;
      if (difference && (s.mark == kSourcePadMark || m.mark == kMasterPadMark)) padSeen = true;
      if (difference) differences.push_back(i);
    }
    std::unique_ptr<MarkAhead> ahead = StartMarking(differences);

    std::size_t next = 0;  // the next difference row
    MarkedRow compared;    // one row's storage, reused
    for (long i = 0; i < rows; ++i) {
      const LineEntry& m = MasterRow(i);
      const LineEntry& s = source_.entries[static_cast<std::size_t>(i)];
      body.Write("<tr>\n");
      if (next < differences.size() && differences[next] == i) {
        if (ahead) {
          ahead->Take(next, compared);
        } else {
          compared.marked = marker_.CompareRow(m.text, s.text, compared.records);
        }
        WriteDifferenceRow(body, m, s, compared);
        ++next;
      } else {
        WritePlainRow(body, m, s);
      }
      body.Write("</tr>\n");
    }
    ahead.reset();

    body.Write("</table>\n</center>\n</div>\n");
    body.Write("  <p align=\"center\"><font size=\"1\">");
    body.Write("<a href=\"https://lindrel.example/\">Report created by Lindrel</a>");
    body.Write("</font></p>  \n");
    body.Write("</body>\n</html>\n");
  }

  void WriteTitleRow(ReportFile& body) {
    WriteNumberHead(body);
    if (style_ == Style::kSideBySide) {
      for (const std::string* caption : {&inputs_.masterCaption, &inputs_.sourceCaption}) {
        body.Write("<td width=\"48%\" align=\" center \" bgcolor=");
        body.Write(grey_);
        body.Write(">");
        body.Write(EscapeHtml(*caption));
        body.Write("</td>\n");
      }
    } else {
      body.Write("<td width=\"96%\" align=\" center \" bgcolor=");
      body.Write(grey_);
      body.Write("><p align=\"center\">");
      body.Write(EscapeHtml(options_.allInOneMasterCaption));
      body.Write(" <------------> ");
      body.Write(EscapeHtml(options_.allInOneSourceCaption));
      body.Write("</p></td>\n");
    }
    WriteNumberHead(body);
  }

  void WriteNumberHead(ReportFile& body) {
    body.Write("<td width=\"2%\" nowrap align=\" center \" bgcolor=");
    body.Write(grey_);
    body.Write(">&nbsp;#</td>\n");
  }

  void WriteNumberCell(ReportFile& body, const std::string& colour, const LineEntry& entry) {
    body.Write("<td width=\"2%\" nowrap bgcolor=");
    body.Write(colour);
    body.Write("\nalign=\"center\">");
    if (entry.number != 0) body.Write(entry.number);
    body.Write("&nbsp;</td>\n");
  }

  void WritePlainTextCell(ReportFile& body, std::string_view text) {
    body.Write(style_ == Style::kSideBySide ? "<td width=\"48%\">" : "<td width=\"96%\">");
    body.Write(text);
    body.Write("&nbsp;</td>\n");
  }

  void WriteDifferenceTextCell(ReportFile& body, const std::string& colour, std::string_view text) {
    body.Write(style_ == Style::kSideBySide ? "<td width=\"48%\"bgcolor="
                                            : "<td width=\"96%\"bgcolor=");
    body.Write(colour);
    body.Write(">\n");
    body.Write(text);
    body.Write("&nbsp;</td>\n");
  }

  void WritePlainRow(ReportFile& body, const LineEntry& m, const LineEntry& s) {
    WriteNumberCell(body, grey_, m);
    if (style_ == Style::kSideBySide) WritePlainTextCell(body, m.text);
    WritePlainTextCell(body, s.text);
    WriteNumberCell(body, grey_, s);
  }

  // Past its end the master shows empty rows, never its end marker.
  const LineEntry& MasterRow(long i) const {
    return i < NumberOfLines(master_) ? master_.entries[static_cast<std::size_t>(i)] : EmptyEntry();
  }

  // Marks the difference rows on a second thread when there are enough of them. The
  // comparer is asked for here, on this thread, if any row will need it.
  std::unique_ptr<MarkAhead> StartMarking(const std::vector<long>& differences) {
    if (differences.size() < markAheadMinimumRows.load()) return nullptr;
    for (long i : differences) {
      if (WordMarker::NeedsComparison(MasterRow(i).text,
                                      source_.entries[static_cast<std::size_t>(i)].text)) {
        marker_.PrepareComparer();
        break;
      }
    }
    auto ahead = std::make_unique<MarkAhead>(
        differences.size(), [this, &differences](std::size_t k, MarkedRow& row) {
          const long i = differences[k];
          row.marked = marker_.CompareRow(
              MasterRow(i).text, source_.entries[static_cast<std::size_t>(i)].text, row.records);
        });
    if (!ahead->Started()) return nullptr;
    return ahead;
  }

  // A row whose word comparison failed is shown with its texts unmarked.
  void WriteDifferenceRow(ReportFile& body, const LineEntry& m, const LineEntry& s,
                          const MarkedRow& compared) {
    WriteNumberCell(body, white_, m);
    if (style_ == Style::kSideBySide) {
      const bool sourcePadded = s.mark == kSourcePadMark;
      const bool masterPadded = !sourcePadded && m.mark == kMasterPadMark;
      if (compared.marked) {
        marks_.SideBySide(compared.records, m.text, s.text, markedMaster_, markedSource_);
      }
      WriteDifferenceTextCell(body, masterPadded ? yellow_ : white_,
                              compared.marked ? std::string_view(markedMaster_) : m.text);
      WriteDifferenceTextCell(body, sourcePadded ? yellow_ : white_,
                              compared.marked ? std::string_view(markedSource_) : s.text);
    } else if (compared.marked) {
      marks_.AllInOne(compared.records, m.text, s.text, markedMaster_);
      WriteDifferenceTextCell(body, white_, markedMaster_);
    } else {
      WriteDifferenceTextCell(body, white_, UnmarkedAllInOne(m.text, s.text));
    }
    WriteNumberCell(body, white_, s);
  }

  Style style_;
  const ReportInputs& inputs_;
  const HtmlOptions& options_;
  const LineTable& master_;
  const LineTable& source_;
  ChangeCounts wordCounters_;
  WordMarker marker_;  // compares the rows' words, counting nothing
  WordMarks marks_;    // marks them and counts them, on this thread
  // The marked texts of the current row (all in one: the merged text in the first),
  // reused row after row.
  std::string markedMaster_, markedSource_;
  std::string grey_, white_, yellow_;
};

}  // namespace

std::pair<std::string, std::string> AllInOneCaptions(const std::string& reportMaster,
                                                     const std::string& reportSource,
                                                     const std::string& fileMaster,
                                                     const std::string& fileSource) {
  if (!reportMaster.empty() || !reportSource.empty()) return {reportMaster, reportSource};
  return {fileMaster, fileSource};
}

std::string EscapeHtml(const std::string& text) {
  std::string escaped;
  escaped.reserve(text.size());
  for (char c : text) {
    switch (c) {
      case '&': escaped += "&amp;"; break;
      case '<': escaped += "&lt;"; break;
      case '>': escaped += "&gt;"; break;
      case '"': escaped += "&quot;"; break;
      default: escaped += c; break;
    }
  }
  return escaped;
}

void TEST_SetMarkAheadMinimumRows(std::size_t rows) { markAheadMinimumRows.store(rows); }

bool WriteHtmlSideBySide(const std::string& target, const ReportInputs& inputs,
                         const HtmlOptions& options, const LineTable& master,
                         const LineTable& source) {
  return HtmlWriter(Style::kSideBySide, inputs, options, master, source).Write(target);
}

bool WriteHtmlAllInOne(const std::string& target, const ReportInputs& inputs,
                       const HtmlOptions& options, const LineTable& master,
                       const LineTable& source) {
  return HtmlWriter(Style::kAllInOne, inputs, options, master, source).Write(target);
}

}  // namespace lindrel::reports
