// Stands in for the trojan's programs: it only sleeps until it is terminated.
#include <windows.h>

int main() {
  Sleep(INFINITE);
  return 0;
}
