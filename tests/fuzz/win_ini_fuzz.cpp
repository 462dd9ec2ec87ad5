// Any Windows directory text and any `run` value: the line written back is exactly the other
// entries, upper-cased and joined by single spaces (" " when none remain), written once and only
// when the trojan's path was there and the line was not cut.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "cleaning/cleaner.h"
#include "platform/stand_in/machine.h"

namespace {

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
  }
  return text;
}

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

// Input: the directory, a newline, the `run` value. NUL bytes cannot stand in either text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string input(reinterpret_cast<const char*>(data), size);
  for (char& c : input) {
    if (c == '\0') c = ' ';
  }
  const std::size_t newline = input.find('\n');
  if (newline == std::string::npos || newline == 0) return 0;
  const std::string directory = input.substr(0, newline);
  const std::string value = input.substr(newline + 1, 300);

  standin::ResetMachine();
  standin::UseWin9x(directory.c_str());
  standin::SetProfileString("WIN.INI", "WINDOWS", "run", value);
  const AutostartEntry entry = CleanWinIniRunLine();
  Check(standin::OpenHandleCount() == 0);

  // The same stage, computed the plain way.
  const std::string read = value.substr(0, 255);
  const bool cut = read.size() == 255;
  const std::string trojan = Upper(directory + "\\INETD.EXE");
  const bool fits = directory.size() < 255 && trojan.size() <= 255;
  std::string kept;
  bool found = false;
  if (Upper(read) != "EMPTY") {
    std::size_t at = 0;
    const std::string upper = Upper(read);
    while (at < upper.size()) {
      if (upper[at] == ' ') {
        ++at;
        continue;
      }
      const std::size_t end = std::min(upper.find(' ', at), upper.size());
      const std::string item = upper.substr(at, end - at);
      if (fits && item == trojan) {
        found = true;
      } else {
        kept += (kept.empty() ? "" : " ") + item;
      }
      at = end;
    }
  }
  Check((entry != AutostartEntry::NotFound) == found);
  Check((entry == AutostartEntry::Removed) == (found && !cut));
  const std::vector<std::string> writes = standin::JournalOf("WritePrivateProfileStringA");
  if (found && !cut) {
    Check(writes.size() == 1);
    Check(standin::ProfileString("WIN.INI", "WINDOWS", "run") == (kept.empty() ? " " : kept));
  } else {
    Check(writes.empty());
    Check(standin::ProfileString("WIN.INI", "WINDOWS", "run") == value);
  }
  return 0;
}
