#include "machine_test.h"

namespace {

std::string Border() { return " " + std::string(59, '=') + "\n"; }

std::string Framed(int lead, const std::string& text, int width = 57) {
  std::string field = std::string(lead, ' ') + text;
  field += std::string(width - field.size(), ' ');
  return " =" + field + "=\n";
}

}  // namespace

std::string ExpectedBanner() {
  return Border() + Framed(0, "") + Framed(15, "FIX_MOLIVERN.A Version 1.0") +
         Framed(2, "A free cleaning tool from the virus information desk") +
         Framed(17, "http://www.example.com/") + Framed(0, "") + Border() + Framed(0, "") +
         Framed(4, "This program will kill TROJ_MOLIVERN.A from memory") +
         Framed(6, "from memory running under Windows 9x/NT") +
         Framed(4, "1. Delete WIN.INI Entry", 56) + Framed(4, "2. Terminate Process") +
         Framed(4, "3. Delete dropped file") + Framed(0, "") + Framed(0, "") +
         Framed(4, "For the details of this virus, visit") +
         Framed(4, "http://www.example.com/vinfo/virusencyclo/") +
         Framed(4, "default5.asp?VName=TROJ_MOLIVERN.A") + Framed(0, "") + Border();
}
