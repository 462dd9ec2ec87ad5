// Reads and sets what the end-to-end tests need to see on the Wine machine.
//   probe ps            the snapshot's executable names, one a line
//   probe ini-get       the `run` value of WIN.INI's [windows] section, or (absent)
//   probe ini-set TEXT  sets it
//   probe load DLL      exit status 0 when the library loads, 1 when it does not
#include <windows.h>
// windows.h first: tlhelp32.h relies on its types.
#include <stdio.h>
#include <string.h>
#include <tlhelp32.h>

int main(int argc, char** argv) {
  if (argc >= 2 && strcmp(argv[1], "ps") == 0) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    for (BOOL ok = Process32First(snapshot, &entry); ok; ok = Process32Next(snapshot, &entry)) {
      printf("%s\n", entry.szExeFile);
    }
    CloseHandle(snapshot);
    return 0;
  }
  if (argc >= 2 && strcmp(argv[1], "ini-get") == 0) {
    char value[1024];
    GetPrivateProfileStringA("windows", "run", "(absent)", value, sizeof(value), "WIN.INI");
    printf("%s\n", value);
    return 0;
  }
  if (argc >= 3 && strcmp(argv[1], "ini-set") == 0) {
    return WritePrivateProfileStringA("windows", "run", argv[2], "WIN.INI") ? 0 : 1;
  }
  if (argc >= 3 && strcmp(argv[1], "load") == 0) {
    return LoadLibraryA(argv[2]) ? 0 : 1;
  }
  fprintf(stderr, "usage: probe ps | ini-get | ini-set TEXT | load DLL\n");
  return 2;
}
