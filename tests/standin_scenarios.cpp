// The end-to-end scenarios of tests/wine, played on the simulated machine set up as Wine's is
// (lower-case directories, snapshot entries that give the file name alone). The Wine tests compare
// what the real platform did with what this prints: the transcript, then the end state.
#include <cstdio>
#include <cstring>
#include <string>

#include "cleaning/cleaner.h"
#include "platform/stand_in/machine.h"

namespace {

const char kRunOnce[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
const std::string kInetd = "C:\\windows\\INETD.EXE";
const std::string kKern32 = "C:\\windows\\system32\\KERN32.EXE";
const std::string kHksdll = "C:\\windows\\system32\\HKSDLL.DLL";

void PlantFiles() {
  for (const std::string& path : {kInetd, kKern32, kHksdll}) standin::AddFile(path);
}

void StartTrojan() {
  for (const std::string& path : {kInetd, kKern32}) {
    standin::Process& process = standin::ProcessById(standin::AddProcess(path));
    process.snapshotName = process.moduleName;  // Wine's snapshot: the file name alone
  }
}

int Running(const char* name) {
  int count = 0;
  for (const standin::Process& process : standin::TheMachine().processes) {
    count += process.running && process.moduleName == name;
  }
  return count;
}

bool Set(const std::string& scenario) {
  standin::ResetMachine();
  standin::Machine& machine = standin::TheMachine();
  machine.windowsDirectory = "C:\\windows";
  machine.systemDirectory = "C:\\windows\\system32";
  machine.standardInput = standin::StandardInput::File;  // the tests run it with < /dev/null
  if (scenario.rfind("win98", 0) == 0) machine.platformId = VER_PLATFORM_WIN32_WINDOWS;
  if (scenario == "nt_not_infected") {
    PlantFiles();
    standin::SetRegistryString(kRunOnce, "Other", "C:\\keep.exe");
  } else if (scenario == "nt_infected") {
    PlantFiles();
    StartTrojan();
    standin::SetRegistryString(kRunOnce, "Kernel32", kKern32);
    standin::SetRegistryString(kRunOnce, "Other", "C:\\keep.exe");
  } else if (scenario == "nt_without_shlwapi") {
    PlantFiles();
    StartTrojan();
    standin::SetRegistryString(kRunOnce, "Kernel32", kKern32);
    standin::SetRegistryString(kRunOnce, "Other", "C:\\keep.exe");
    machine.unloadableLibraries.insert("SHLWAPI.DLL");
  } else if (scenario == "nt_file_left") {
    PlantFiles();
    standin::MakeReadOnly(kHksdll);
    StartTrojan();
    standin::SetRegistryString(kRunOnce, "Kernel32", kKern32);
    standin::SetRegistryString(kRunOnce, "Other", "C:\\keep.exe");
  } else if (scenario == "nt_value_only") {
    standin::SetRegistryString(kRunOnce, "Kernel32", kKern32);
  } else if (scenario == "win98_infected") {
    PlantFiles();
    StartTrojan();
    standin::SetProfileString("WIN.INI", "windows", "run",
                              "c:\\tools\\tray.exe C:\\WINDOWS\\INETD.EXE   scanregw.exe");
  } else if (scenario == "win98_not_infected") {
    standin::SetProfileString("WIN.INI", "windows", "run", "c:\\tools\\tray.exe   scanregw.exe");
    PlantFiles();
  } else {
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2 || !Set(argv[1])) {
    std::fprintf(stderr, "usage: standin_scenarios SCENARIO\n");
    return 2;
  }
  const int status = RunCleaner();
  const std::string& transcript = standin::TheMachine().transcript;
  std::fwrite(transcript.data(), 1, transcript.size(), stdout);
  std::printf("\n--- state\nexit status %d\n", status);
  std::printf("running INETD.EXE %d KERN32.EXE %d\n", Running("INETD.EXE"), Running("KERN32.EXE"));
  std::printf("files INETD.EXE %d KERN32.EXE %d HKSDLL.DLL %d\n", standin::FileExists(kInetd),
              standin::FileExists(kKern32), standin::FileExists(kHksdll));
  std::printf("RunOnce Kernel32 %d Other %d\n", standin::HasRegistryValue(kRunOnce, "Kernel32"),
              standin::HasRegistryValue(kRunOnce, "Other"));
  std::printf("run %s\n", standin::ProfileString("WIN.INI", "windows", "run").c_str());
  return 0;
}
