#include "console/text.h"

namespace {

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

std::size_t TextLength(const char* text) {
  std::size_t length = 0;
  while (text[length] != '\0') {
    ++length;
  }
  return length;
}

bool AppendText(char* buffer, std::size_t size, const char* text) {
  const std::size_t used = TextLength(buffer);
  const std::size_t added = TextLength(text);
  if (used + added >= size) {
    return false;
  }
  for (std::size_t i = 0; i <= added; ++i) {
    buffer[used + i] = text[i];
  }
  return true;
}

bool CopyText(char* buffer, std::size_t size, const char* text) {
  buffer[0] = '\0';
  return AppendText(buffer, size, text);
}

bool EqualIgnoringAsciiCase(const char* left, const char* right) {
  for (;; ++left, ++right) {
    if (UpperAscii(*left) != UpperAscii(*right)) {
      return false;
    }
    if (*left == '\0') {
      return true;
    }
  }
}

void UpperCaseAscii(char* text) {
  for (; *text != '\0'; ++text) {
    *text = UpperAscii(*text);
  }
}
