// The report writers on any file pair, through the report layer as the component drives
// it: the engine's records of the pair (sometimes of files that changed after the
// comparison), files of raw bytes or of words, forced alignments, any captions and title, word
// marking with any word options, every format and both HTML styles. Asserts, beside no crash:
// - every HTML page is well formed: each tag is a known one, opened tags are closed in
//   order (two closings stay implicit, as the page format has them and HTML allows: the
//   default colour that opens a marked cell text is closed by the cell's end, and the
//   paragraph of the counts by the next block or the body's end), no raw "<" or ">" comes from a
//   line or a caption, captions and the title are written escaped, and when the files hold no "&"
//   every "&" of the page starts a character reference (line texts keep theirs as they stand);
// - the text and the delimited reports are exactly the header and one line per quoted
//   file line, in record order, as their formats lay them out, with the lines cleaned
//   (tab as two blanks, control bytes dropped) and "<" ">" escaped; a delimited report of
//   no records writes no file.
#include <fuzzer/FuzzedDataProvider.h>

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/EngineResult.h"
#include "engine/RunEngine.h"

#include "fuzz/FuzzChecks.h"
#include "platform/ScratchDirectory.h"
#include "reports/ReportState.h"

namespace {

using lindrel::engine::ChangeRecord;
namespace reports = lindrel::reports;

using lindrel::fuzzing::Check;

using lindrel::fuzzing::Recorder;

// The word comparison as the component's second instance runs it: the engine on the two
// paragraph texts under the reduced switches.
class EngineWordComparer final : public reports::WordComparer {
 public:
  bool CompareWritten(const reports::ParagraphPaths&, std::string_view masterBytes,
                      std::string_view sourceBytes, const reports::WordCompareOptions& options,
                      std::vector<ChangeRecord>& records) override {
    std::vector<std::string> switches;
    if (options.ignoreCase) switches.emplace_back("-i");
    if (options.ignoreWhiteSpace) switches.emplace_back("-w");
    if (options.ignoreEmptyLines) switches.emplace_back("-B");
    if (options.quickCompare) switches.emplace_back("-q");
    Recorder recorder;
    const int result =
        lindrel::engine::RunEngineOnTexts(switches, masterBytes, sourceBytes, recorder);
    records = recorder.records;
    return result != lindrel::engine::kTrouble;
  }
};

// Lines of words from a small vocabulary, so that rows share and differ in words: a byte
// picks a word (or a blank run, an empty word, a line end).
std::string Words(const std::string& bytes) {
  static const char* const kWords[] = {"the", "The", "fox", "<b>",   "a&b",
                                       "",    " ",   "\t",  "jumps", "over"};
  std::string text;
  for (unsigned char b : bytes) {
    if (b % 11 == 10) {
      text += (b & 0x80) ? "\r\n" : "\n";
    } else {
      text += kWords[b % 11];
      text += ' ';
    }
  }
  return text;
}

void WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
  Check(static_cast<bool>(out));
}

std::optional<std::string> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A file's lines as the reports quote them: read in text mode, cleaned and escaped.
std::vector<std::string> QuotedLines(const std::string& raw) {
  std::vector<std::string> lines;
  std::string line;
  bool open = false;
  for (std::size_t i = 0; i < raw.size() && raw[i] != '\x1a'; ++i) {
    const auto c = static_cast<unsigned char>(raw[i]);
    if (c == '\n') {
      lines.push_back(line);
      line.clear();
      open = false;
      continue;
    }
    open = true;
    if (c == '\t')
      line += "  ";
    else if (c == '<')
      line += "&lt;";
    else if (c == '>')
      line += "&gt;";
    else if (c >= 32)
      line += static_cast<char>(c);
  }
  if (open) lines.push_back(line);
  return lines;
}

std::string Quoted(const std::vector<std::string>& lines, long number) {
  return number >= 1 && number <= static_cast<long>(lines.size()) ? lines[number - 1] : "";
}

std::string EscapedCaption(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '&')
      out += "&amp;";
    else if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else if (c == '"')
      out += "&quot;";
    else
      out += c;
  }
  return out;
}

struct Expected {
  const std::vector<ChangeRecord>& records;
  const lindrel::ChangeCounts& counters;
  std::string masterCaption, sourceCaption, timestamp;
  bool differWithoutRecords;
  std::vector<std::string> master, source;
};

std::string CountText(long count, const char* one, const char* many) {
  return count == 1 ? one : std::to_string(count) + many;
}

std::string ExpectedTextReport(const Expected& e) {
  std::string out = "File Comparison Report\n\nDate and Time: " + e.timestamp +
                    "\nOriginal File: " + e.masterCaption + "\nModified File: " + e.sourceCaption +
                    "\n\nCompare File Results: \n\t";
  const long count = static_cast<long>(e.records.size());
  out += e.differWithoutRecords && count == 0 ? "Files differ (no line-by-line records)\n"
                                              : std::to_string(count) + " Differences found\n";
  if (count > 0) {
    out += "\t" + CountText(e.counters.changes, "1 Change found\n", " Changes found\n");
    out += "\t" + CountText(e.counters.additions, "1 Addition found\n", " Additions found\n");
    out += "\t" + CountText(e.counters.deletions, "1 Deletion found\n", " Deletions found\n");
  }
  for (long n = 1; n <= count; ++n) {
    const ChangeRecord& r = e.records[n - 1];
    out += "\n\n";
    const std::string number = std::to_string(n);
    if (r.kind == 'a') {
      out += "\n++++++++ [" + number + "] Addition at line " + std::to_string(r.masterStart) +
             " ++++++++";
      for (long k = r.sourceStart; k <= r.sourceEnd; ++k) out += "\n" + Quoted(e.source, k);
    } else if (r.kind == 'c') {
      out += "\n^^^^^^^^ [" + number + "] Change at line (" + std::to_string(r.masterStart) +
             ") ^^^^^^^^";
      out += "\n  Master";
      for (long k = r.masterStart; k <= r.masterEnd; ++k) out += "\n    " + Quoted(e.master, k);
      out += "\n  Source";
      for (long k = r.sourceStart; k <= r.sourceEnd; ++k) out += "\n    " + Quoted(e.source, k);
    } else {
      out += "\n-------- [" + number + "] Deletion at line (" + std::to_string(r.sourceStart) +
             ") --------";
      for (long k = r.masterStart; k <= r.masterEnd; ++k) out += "\n" + Quoted(e.master, k);
    }
  }
  return out;
}

std::string ExpectedDelimitedReport(const Expected& e, const std::string& sep) {
  std::string out = "File Comparison Report\n\nDate and Time: " + e.timestamp +
                    "\nOriginal File: " + e.masterCaption + "\nModified File: " + e.sourceCaption +
                    "\n\nCompare File Results: \n";
  out += sep + std::to_string(e.records.size()) + " Differences found\n";
  out += sep + CountText(e.counters.changes, "1   Change found\n", " Changes found\n");
  out += sep + CountText(e.counters.additions, "1 Addition found\n", " Additions found\n");
  out += sep + CountText(e.counters.deletions, "1 Deletion found\n", " Deletions found\n");
  out += "\n#" + sep + "Diff" + sep + "Line" + sep + "File Content";
  for (std::size_t n = 1; n <= e.records.size(); ++n) {
    const ChangeRecord& r = e.records[n - 1];
    out += "\n\n";
    const char kind = static_cast<char>(r.kind - 'a' + 'A');
    const long line = r.kind == 'd' ? r.sourceStart : r.masterStart;
    const std::string prefix = std::to_string(n) + sep + kind + sep + std::to_string(line);
    if (r.kind == 'a') {
      for (long k = r.sourceStart; k <= r.sourceEnd; ++k)
        out += "\n" + prefix + sep + Quoted(e.source, k);
    } else if (r.kind == 'd') {
      for (long k = r.masterStart; k <= r.masterEnd; ++k)
        out += "\n" + prefix + sep + Quoted(e.master, k);
    } else {
      const std::string columnSep = sep == "," ? " ," : " \t";
      out += "\n  Original ";
      for (long k = r.masterStart; k <= r.masterEnd; ++k) {
        out += prefix + " Master" + columnSep + Quoted(e.master, k) + "\n";
      }
      out += "\n  Modified ";
      for (long k = r.sourceStart; k <= r.sourceEnd; ++k) {
        out += prefix + " Source" + columnSep + Quoted(e.source, k) + "\n";
      }
    }
  }
  return out;
}

bool IsKnownTag(const std::string& name) {
  static const char* const kTags[] = {"html", "head", "meta", "body",   "h1",    "p",
                                      "br",   "font", "div",  "center", "table", "tr",
                                      "td",   "a",    "b",    "u",      "strike"};
  for (const char* tag : kTags) {
    if (name == tag) return true;
  }
  return false;
}

// The tag-balance and character checks of an HTML page.
void CheckHtml(const std::string& page, bool everyAmpersandIsAReference) {
  static const std::string kDefaultColour = "font color=\"000000\"";
  static const std::string kCaptionSeparator =
      " <------------> ";  // literal text of the title cell
  struct Open {
    std::string name;
    bool closedByCell;  // the default colour opened at the start of a marked cell text
  };
  std::vector<Open> open;
  bool cellJustOpened = false;
  for (std::size_t i = 0; i < page.size(); ++i) {
    const char c = page[i];
    if (page.compare(i, kCaptionSeparator.size(), kCaptionSeparator) == 0) {
      i += kCaptionSeparator.size() - 1;
      cellJustOpened = false;
      continue;
    }
    if (c == '>') Check(false);
    if (c == '&' && everyAmpersandIsAReference) {
      std::size_t k = i + 1;
      if (k < page.size() && page[k] == '#') ++k;
      const std::size_t nameStart = k;
      while (k < page.size() && std::isalnum(static_cast<unsigned char>(page[k]))) ++k;
      Check(k > nameStart && k < page.size() && page[k] == ';');
    }
    if (c != '<') {
      if (c != '\n' && c != ' ') cellJustOpened = false;
      continue;
    }
    const std::size_t end = page.find('>', i);
    Check(end != std::string::npos);
    const std::string tag = page.substr(i + 1, end - i - 1);
    Check(tag.find('<') == std::string::npos);
    const bool closing = !tag.empty() && tag[0] == '/';
    std::string name;
    for (std::size_t k = closing ? 1 : 0;
         k < tag.size() && std::isalnum(static_cast<unsigned char>(tag[k])); ++k) {
      name += tag[k];
    }
    Check(IsKnownTag(name));
    std::size_t quotes = 0;
    for (char t : tag) quotes += t == '"';
    Check(quotes % 2 == 0);
    // A paragraph ends where a block starts or its parent ends, as in HTML.
    const bool endsParagraph =
        closing ? name == "body" || name == "td" || name == "div"
                : name == "div" || name == "table" || name == "p" || name == "h1";
    if (endsParagraph && !open.empty() && open.back().name == "p") open.pop_back();
    if (closing) {
      Check(tag.size() == name.size() + 1);
      if (name == "td") {
        while (!open.empty() && open.back().closedByCell) open.pop_back();
      }
      Check(!open.empty() && open.back().name == name);
      open.pop_back();
    } else if (name != "br" && name != "meta") {
      open.push_back({name, cellJustOpened && tag == kDefaultColour});
    }
    cellJustOpened = !closing && name == "td";
    i = end;
  }
  Check(open.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::optional<std::string> directory = lindrel::platform::ScratchDirectory();
  Check(directory.has_value());
  const std::string masterPath = *directory + "/master.txt";
  const std::string sourcePath = *directory + "/source.txt";

  FuzzedDataProvider input(data, size);
  const auto bits = input.ConsumeIntegral<std::uint16_t>();
  reports::WordCompareOptions wordOptions;
  wordOptions.ignoreCase = bits & 1;
  wordOptions.ignoreWhiteSpace = bits & 2;
  wordOptions.ignoreEmptyLines = bits & 4;
  wordOptions.quickCompare = (bits & 0x18) == 0x18;
  const bool highDetail = bits & 0x20;
  const bool doubleWide = bits & 0x40;
  const bool changedAfterComparison = (bits & 0x180) == 0x180;
  const std::string reportMaster = input.ConsumeRandomLengthString(12);
  const std::string reportSource = input.ConsumeRandomLengthString(12);
  const std::string title = input.ConsumeRandomLengthString(12);
  std::vector<reports::ForcedAlignment> alignments;
  for (int n = input.ConsumeIntegralInRange(0, 3); n > 0; --n) {
    alignments.push_back({input.ConsumeIntegralInRange(0, 5), input.ConsumeIntegralInRange(-1, 12),
                          input.ConsumeIntegralInRange(-1, 12),
                          input.ConsumeIntegralInRange(-1, 4)});
  }
  const bool asWords = bits & 0x200;
  std::string master = input.ConsumeRandomLengthString(size);
  std::string source = input.ConsumeRandomLengthString(size);
  std::string changedSource = input.ConsumeRemainingBytesAsString();
  if (asWords) {
    master = Words(master);
    source = Words(source);
    changedSource = Words(changedSource);
  }

  // The comparison the reports are of, under the same switches as the word comparisons.
  std::vector<std::string> switches;
  if (wordOptions.ignoreCase) switches.emplace_back("-i");
  if (wordOptions.ignoreWhiteSpace) switches.emplace_back("-w");
  if (wordOptions.ignoreEmptyLines) switches.emplace_back("-B");
  Recorder recorder;
  const int result = lindrel::engine::RunEngineOnTexts(switches, master, source, recorder);
  Check(result == 0 || result == 1);
  if (changedAfterComparison) source = changedSource;
  WriteFile(masterPath, master);
  WriteFile(sourcePath, source);

  reports::ReportRequest request;
  request.fileMaster = masterPath;
  request.fileSource = sourcePath;
  request.reportFileMaster = reportMaster;
  request.reportFileSource = reportSource;
  request.reportFileTitle = title;
  request.highDetail = highDetail;
  request.doubleWideCharset = doubleWide;
  request.wordOptions = wordOptions;
  request.records = recorder.records;
  for (const ChangeRecord& r : request.records) {
    (r.kind == 'c'   ? request.counters.changes
     : r.kind == 'a' ? request.counters.additions
                     : request.counters.deletions)++;
  }
  request.differWithoutRecords = result == 1 && request.records.empty();
  request.onError = [](long, const std::string&) { Check(false); };
  request.makeWordComparer = [] { return std::make_unique<EngineWordComparer>(); };

  reports::ReportState state;
  state.TEST_SetClock([] { return reports::LocalTime{2026, 12, 6, 0, 15, 5, 50}; });
  for (const reports::ForcedAlignment& a : alignments) state.Alignments().Add(a);

  const bool ampersandFree =
      master.find('&') == std::string::npos && source.find('&') == std::string::npos;
  for (long style : {lindrel::kReportStyleSideBySide, lindrel::kReportStyleAllInOne}) {
    request.format = lindrel::kReportFormatHtml;
    request.style = style;
    request.target = *directory + "/report.htm";
    Check(state.CreateReport(request) == lindrel::kReportWritten);
    const std::optional<std::string> page = ReadFile(request.target);
    Check(page.has_value());
    CheckHtml(*page, ampersandFree);
    Check(page->size() >= 8 && page->compare(page->size() - 8, 8, "</html>\n") == 0);
    const std::string masterCaption = reportMaster.empty() ? masterPath : reportMaster;
    const std::string sourceCaption = reportSource.empty() ? sourcePath : reportSource;
    Check(page->find("Original:  " + EscapedCaption(masterCaption) + "<br>\nModified:  " +
                     EscapedCaption(sourceCaption) + "</p>\n") != std::string::npos);
    if (!title.empty())
      Check(page->find("<h1 align=\"center\">" + EscapedCaption(title) + "</h1>\n") !=
            std::string::npos);
  }

  Expected expected{request.records,
                    request.counters,
                    reportMaster.empty() ? masterPath : reportMaster,
                    reportSource.empty() ? sourcePath : reportSource,
                    "Sun, 12/06/2026 3:05:50 PM",
                    request.differWithoutRecords,
                    QuotedLines(master),
                    QuotedLines(source)};
  request.format = lindrel::kReportFormatText;
  request.target = *directory + "/report.txt";
  Check(state.CreateReport(request) == lindrel::kReportWritten);
  Check(ReadFile(request.target) == ExpectedTextReport(expected));

  for (long format : {lindrel::kReportFormatCommaDelimited, lindrel::kReportFormatTabDelimited}) {
    request.format = format;
    request.target =
        *directory + (format == lindrel::kReportFormatTabDelimited ? "/report.tab" : "/report.csv");
    ::unlink(request.target.c_str());
    Check(state.CreateReport(request) == lindrel::kReportWritten);
    const std::optional<std::string> written = ReadFile(request.target);
    if (request.records.empty()) {
      Check(!written.has_value());
    } else {
      Check(written == ExpectedDelimitedReport(
                           expected, format == lindrel::kReportFormatTabDelimited ? "\t" : ","));
    }
  }
  return 0;
}
