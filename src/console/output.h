// Standard output. Each text goes out in one unbuffered write, so that it is on the screen, or in
// the pipe, before the program pauses, waits for a key or ends.
#pragma once

void WriteText(const char* text);

// Writes `before`, `value` and `after` as one text: the program's "%s" messages.
void WriteTextWith(const char* before, const char* value, const char* after);
