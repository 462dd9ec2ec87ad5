#include "console/system_error.h"

#include "console/output.h"

namespace {

const char* const kErrorTexts[] = {
    nullptr,
    "\n\tcorrect function.",
    "\n\tThe system cannot find the file specified.",
    "\n\tThe system cannot find the path specified.",
    "\n\tThe system cannot open the file.",
    "\n\tAccess is denied.",
    "\n\tThe handle is invalid.",
    "\n\tThe storage control blocks were destroyed.",
    "\n\tNot enough storage is available to process this command.",
    "\n\tThe storage control block address is invalid.",
    "\n\tThe environment is incorrect.",
};

// The code as a signed 32-bit decimal number, as "%ld" prints it on the system.
void FormatSigned(DWORD code, char (&digits)[12]) {
  const bool negative = (code & 0x80000000u) != 0;
  DWORD magnitude = negative ? 0u - code : code;
  char reversed[11];
  int count = 0;
  do {
    reversed[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  int at = 0;
  if (negative) {
    digits[at++] = '-';
  }
  while (count > 0) {
    digits[at++] = reversed[--count];
  }
  digits[at] = '\0';
}

}  // namespace

void ReportSystemError(DWORD code) {
  if (code >= 1 && code < sizeof(kErrorTexts) / sizeof(kErrorTexts[0])) {
    WriteText(kErrorTexts[code]);
    return;
  }
  char digits[12];
  FormatSigned(code, digits);
  WriteTextWith("\n\tError Code: ", digits, "");
}
