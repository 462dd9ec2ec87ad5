// What the user sees before any cleaning starts, and the one way the program waits for the user.
#pragma once

// Writes the banner and the first prompt, then waits for a key.
void ShowBanner();

constexpr int kEndOfInput = -1;

// Reads one key press from the console: raw, without echo or Enter. A special key gives its lead
// code (0 or 224) and leaves its second code for the next call. Returns kEndOfInput at once when
// standard input is not the console (redirected, piped or absent) or no console can be opened.
int WaitForKey();
