#include "console/output.h"

#include "console/text.h"
#include "platform/platform.h"

void WriteText(const char* text) {
  DWORD written = 0;
  WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), text, static_cast<DWORD>(TextLength(text)), &written,
            nullptr);
}

void WriteTextWith(const char* before, const char* value, const char* after) {
  // Room for the longest message, "\n\tFile %s deleted.", around a value of 255 characters.
  char text[320];
  if (CopyText(text, before) && AppendText(text, value) && AppendText(text, after)) {
    WriteText(text);
    return;
  }
  WriteText(before);  // a value that long cannot come from this program; never cut it silently
  WriteText(value);
  WriteText(after);
}
