#pragma once
// Helpers for the spreadsheet tests: a scratch folder, expectation files for the independent reader
// script, and running that script.
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "platform/spreadsheet/Text.h"

namespace platform::spreadsheet::testing {

class ScratchFolder {
 public:
  ScratchFolder() {
    char pattern[] = "/tmp/tabrix-sheet-XXXXXX";
    path_ = mkdtemp(pattern);
  }
  ~ScratchFolder() { removeTree(path_); }
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }
  std::vector<std::string> entries() const {
    std::vector<std::string> names;
    if (DIR* dir = opendir(path_.c_str())) {
      while (dirent* e = readdir(dir)) {
        std::string n = e->d_name;
        if (n != "." && n != "..") names.push_back(n);
      }
      closedir(dir);
    }
    return names;
  }

 private:
  static void removeTree(const std::string& path) {
    struct stat st {};
    if (lstat(path.c_str(), &st) != 0) return;
    if (S_ISDIR(st.st_mode)) {
      chmod(path.c_str(), 0700);
      if (DIR* dir = opendir(path.c_str())) {
        while (dirent* e = readdir(dir)) {
          std::string n = e->d_name;
          if (n != "." && n != "..") removeTree(path + "/" + n);
        }
        closedir(dir);
      }
      rmdir(path.c_str());
    } else {
      unlink(path.c_str());
    }
  }
  std::string path_;
};

inline std::string jsonText(const std::u16string& text) {
  std::string utf8 = toUtf8(text);
  std::string out = "\"";
  for (unsigned char c : utf8) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += char(c);
    } else if (c < 0x20) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out += buf;
    } else {
      out += char(c);
    }
  }
  return out + "\"";
}

// What the reader script should find: sheets with their rows, widths and the shared format.
struct ExpectedSheet {
  std::u16string name;
  std::vector<std::vector<std::u16string>> rows;  // an empty text stands for an empty cell
  std::vector<std::pair<int, double>> widths;
};

inline void writeExpectation(const std::string& file, const std::vector<ExpectedSheet>& sheets,
                             const std::string& formatJson, int formatEvery = 1) {
  std::ofstream out(file);
  out << "{\"format_every\": " << formatEvery << ",\n";
  if (!formatJson.empty()) out << "\"format\": " << formatJson << ",\n";
  out << "\"sheets\": [";
  for (size_t s = 0; s < sheets.size(); ++s) {
    out << (s ? ",\n" : "\n") << "{\"name\": " << jsonText(sheets[s].name) << ", \"widths\": {";
    for (size_t w = 0; w < sheets[s].widths.size(); ++w) {
      out << (w ? ", " : "") << "\"" << sheets[s].widths[w].first << "\": " << sheets[s].widths[w].second;
    }
    out << "}, \"rows\": [";
    for (size_t r = 0; r < sheets[s].rows.size(); ++r) {
      out << (r ? ",\n[" : "\n[");
      const auto& row = sheets[s].rows[r];
      for (size_t c = 0; c < row.size(); ++c) out << (c ? ", " : "") << (row[c].empty() ? "null" : jsonText(row[c]));
      out << "]";
    }
    out << "]}";
  }
  out << "]}\n";
}

struct CheckResult {
  int status;
  std::string output;
};

// Runs the independent reader on workbooks, each with its expectation, in one run of the script;
// status 0 when every one matches.
inline CheckResult checkWorkbooks(const std::vector<std::pair<std::string, std::string>>& workbooks) {
  std::string command = std::string("/usr/bin/python3 ") + TABRIX_SHEET_CHECKER;
  for (const auto& [workbook, expectation] : workbooks) command += " '" + workbook + "' '" + expectation + "'";
  command += " 2>&1";
  CheckResult result{-1, {}};
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return result;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, pipe)) > 0) result.output.append(buf, n);
  int status = pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

// Runs the independent reader on a workbook; status 0 when it matches the expectation.
inline CheckResult checkWorkbook(const std::string& workbook, const std::string& expectation) {
  return checkWorkbooks({{workbook, expectation}});
}

// Descriptors this process has open.
inline int openDescriptors() {
  int count = 0;
  if (DIR* dir = opendir("/proc/self/fd")) {
    while (readdir(dir) != nullptr) ++count;
    closedir(dir);
  }
  return count;
}

// The bytes a save's target holds before the save; a failed or killed save must leave them.
inline const std::string kOldBytes = "the workbook as it was before\n";

inline std::string contentOf(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void writeFile(const std::string& path, const std::string& content) {
  std::ofstream(path, std::ios::binary) << content;
}

inline std::u16string u16(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

}  // namespace platform::spreadsheet::testing
