// Fixed-buffer text helpers: every copy and join in the program goes through these, and none of
// them writes past the buffer it is given. A text that does not fit is refused, never cut short.
#pragma once

#include <cstddef>

// Length of a terminated text.
std::size_t TextLength(const char* text);

// Appends `text` to the terminated text in `buffer` (of `size` bytes). False, with the buffer
// unchanged, when the result and its terminator would not fit.
bool AppendText(char* buffer, std::size_t size, const char* text);

// Replaces the buffer's contents with `text`; false, with an empty buffer, when it does not fit.
bool CopyText(char* buffer, std::size_t size, const char* text);

template <std::size_t N>
bool AppendText(char (&buffer)[N], const char* text) {
  return AppendText(buffer, N, text);
}

template <std::size_t N>
bool CopyText(char (&buffer)[N], const char* text) {
  return CopyText(buffer, N, text);
}

// Equal when the texts differ at most in the letter case of A to Z; every other byte must match.
bool EqualIgnoringAsciiCase(const char* left, const char* right);

// Changes a to z into A to Z in place; every other byte stays as it is.
void UpperCaseAscii(char* text);
