// Any path: the bare name is the text after the last "\\", else after the last ":", else all of
// it; the name check refuses exactly the names holding a character no file name can hold.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "terminator/terminator.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string path(reinterpret_cast<const char*>(data), size < 255 ? size : 255);
  path = path.substr(0, path.find('\0'));
  const char* bare = BareName(path.c_str());

  std::size_t separator = path.rfind('\\');
  if (separator == std::string::npos) separator = path.rfind(':');
  const std::string expected = separator == std::string::npos ? path : path.substr(separator + 1);
  if (bare < path.c_str() || bare > path.c_str() + path.size() || expected != bare) std::abort();
  if (IsValidFileName(bare) != (expected.find_first_of("\\/:*?\"<>|") == std::string::npos)) {
    std::abort();
  }
  return 0;
}
