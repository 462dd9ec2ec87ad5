// The simulated machine: each operation does what the cleaner relies on Windows to do, and no more.
#include "platform/stand_in/machine.h"

#include <algorithm>
#include <cstring>

namespace standin {
namespace {

Machine theMachine;

const HANDLE kStandardOutput = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0x7));
const HANDLE kConsoleInput = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0x3));
const HANDLE kFileInput = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0xb));
const HANDLE kPipeInput = reinterpret_cast<HANDLE>(static_cast<std::uintptr_t>(0xf));

std::string Upper(std::string text) {
  for (char& c : text) {
    if (c >= 'a' && c <= 'z') {
      c = static_cast<char>(c - 'a' + 'A');
    }
  }
  return text;
}

std::string Hex(DWORD value) {
  static const char digits[] = "0123456789abcdef";
  std::string text;
  do {
    text.insert(text.begin(), digits[value % 16]);
    value /= 16;
  } while (value != 0);
  return "0x" + text;
}

std::string Text(const char* text) { return text ? std::string(text) : std::string("(null)"); }

void Log(const std::string& line) { theMachine.journal.push_back(line); }

// True when the test made this call fail; the code is then the thread's last error.
bool Injected(const std::string& operation, DWORD& code) {
  auto it = theMachine.failures.find(operation);
  if (it == theMachine.failures.end() || it->second.remaining == 0) {
    return false;
  }
  if (it->second.remaining > 0) {
    --it->second.remaining;
  }
  code = it->second.code;
  return true;
}

bool FailsWithLastError(const std::string& operation) {
  DWORD code = 0;
  if (!Injected(operation, code)) {
    return false;
  }
  theMachine.lastError = code;
  return true;
}

HANDLE NewHandle(HandleRecord record) {
  std::uintptr_t value = theMachine.nextHandle;
  theMachine.nextHandle += 4;
  theMachine.handles.emplace(value, std::move(record));
  return reinterpret_cast<HANDLE>(value);
}

HandleRecord* Lookup(const void* handle, HandleKind kind) {
  auto it = theMachine.handles.find(reinterpret_cast<std::uintptr_t>(handle));
  if (it == theMachine.handles.end() || it->second.kind != kind) {
    return nullptr;
  }
  return &it->second;
}

Process* FindProcess(DWORD id) {
  for (Process& process : theMachine.processes) {
    if (process.id == id) {
      return &process;
    }
  }
  return nullptr;
}

Process* ProcessOfHandle(HANDLE handle) {
  HandleRecord* record = Lookup(handle, HandleKind::Process);
  return record ? FindProcess(record->processId) : nullptr;
}

std::vector<DWORD> RunningProcessIds() {
  std::vector<DWORD> ids;
  for (const Process& process : theMachine.processes) {
    if (process.running) {
      ids.push_back(process.id);
    }
  }
  return ids;
}

// Copies as much of `text` as fits with its terminator; returns the characters copied.
DWORD CopyCut(const std::string& text, char* buffer, DWORD size) {
  if (size == 0) {
    return 0;
  }
  DWORD count = std::min<DWORD>(static_cast<DWORD>(text.size()), size - 1);
  std::memcpy(buffer, text.data(), count);
  buffer[count] = '\0';
  return count;
}

UINT QueryDirectory(const char* operation, const std::string& directory, LPSTR buffer, UINT size) {
  Log(std::string(operation) + " " + std::to_string(size));
  if (FailsWithLastError(operation)) {
    return 0;
  }
  if (directory.size() + 1 > size) {
    return static_cast<UINT>(directory.size() + 1);  // the size needed, terminator included
  }
  return CopyCut(directory, buffer, size);
}

// The process-listing functions: reachable only through GetProcAddress.

HANDLE CreateToolhelp32Snapshot(DWORD flags, DWORD processId) {
  Log("CreateToolhelp32Snapshot " + Hex(flags) + " " + std::to_string(processId));
  if (FailsWithLastError("CreateToolhelp32Snapshot")) {
    return INVALID_HANDLE_VALUE;
  }
  HandleRecord record;
  record.kind = HandleKind::Snapshot;
  record.snapshot = RunningProcessIds();
  return NewHandle(std::move(record));
}

BOOL FillEntry(const char* operation, HANDLE snapshot, PROCESSENTRY32* entry, bool first) {
  Log(std::string(operation) + " " + std::to_string(entry->dwSize));
  if (FailsWithLastError(operation)) {
    return FALSE;
  }
  HandleRecord* record = Lookup(snapshot, HandleKind::Snapshot);
  if (!record) {
    theMachine.lastError = ERROR_INVALID_HANDLE;
    return FALSE;
  }
  if (entry->dwSize != sizeof(PROCESSENTRY32)) {
    theMachine.lastError = ERROR_BAD_LENGTH;
    return FALSE;
  }
  if (first) {
    record->nextEntry = 0;
  }
  if (record->nextEntry >= record->snapshot.size()) {
    theMachine.lastError = ERROR_NO_MORE_FILES;
    return FALSE;
  }
  const Process* process = FindProcess(record->snapshot[record->nextEntry++]);
  DWORD size = entry->dwSize;
  std::memset(entry, 0, sizeof(*entry));
  entry->dwSize = size;
  entry->th32ProcessID = process->id;
  entry->cntThreads = 1;
  CopyCut(process->snapshotName, entry->szExeFile, sizeof(entry->szExeFile));
  return TRUE;
}

BOOL Process32First(HANDLE snapshot, PROCESSENTRY32* entry) {
  return FillEntry("Process32First", snapshot, entry, true);
}

BOOL Process32Next(HANDLE snapshot, PROCESSENTRY32* entry) {
  return FillEntry("Process32Next", snapshot, entry, false);
}

BOOL EnumProcesses(DWORD* ids, DWORD bytes, DWORD* bytesReturned) {
  Log("EnumProcesses " + std::to_string(bytes));
  if (FailsWithLastError("EnumProcesses")) {
    return FALSE;
  }
  std::vector<DWORD> running = RunningProcessIds();
  std::size_t count = std::min<std::size_t>(running.size(), bytes / sizeof(DWORD));
  std::copy_n(running.begin(), count, ids);
  *bytesReturned = static_cast<DWORD>(count * sizeof(DWORD));
  return TRUE;
}

BOOL EnumProcessModules(HANDLE process, HMODULE* modules, DWORD bytes, DWORD* bytesNeeded) {
  Log("EnumProcessModules " + std::to_string(bytes));
  if (FailsWithLastError("EnumProcessModules")) {
    return FALSE;
  }
  Process* target = ProcessOfHandle(process);
  if (!target) {
    theMachine.lastError = ERROR_INVALID_HANDLE;
    return FALSE;
  }
  if (target->modulesError) {
    theMachine.lastError = target->modulesError;
    return FALSE;
  }
  // The executable and two system libraries, of which only as many handles as fit are given.
  const DWORD moduleCount = 3;
  if (bytes >= sizeof(HMODULE)) {
    modules[0] = reinterpret_cast<HMODULE>(static_cast<std::uintptr_t>(0x400000));
  }
  *bytesNeeded = moduleCount * sizeof(HMODULE);
  return TRUE;
}

DWORD GetModuleBaseNameA(HANDLE process, HMODULE module, LPSTR name, DWORD size) {
  (void)module;
  Log("GetModuleBaseNameA " + std::to_string(size));
  if (FailsWithLastError("GetModuleBaseNameA")) {
    return 0;
  }
  Process* target = ProcessOfHandle(process);
  if (!target) {
    theMachine.lastError = ERROR_INVALID_HANDLE;
    return 0;
  }
  if (target->nameError) {
    theMachine.lastError = target->nameError;
    return 0;
  }
  return CopyCut(target->moduleName, name, size);
}

LSTATUS SHDeleteValueA(HKEY root, LPCSTR subKey, LPCSTR name) {
  Log("SHDeleteValueA " + std::string(root == HKEY_LOCAL_MACHINE ? "HKEY_LOCAL_MACHINE" : "other") +
      " " + Text(subKey) + " " + Text(name));
  DWORD code = 0;
  if (Injected("SHDeleteValueA", code)) {
    return static_cast<LSTATUS>(code);
  }
  if (theMachine.registryReadOnly) {
    return ERROR_ACCESS_DENIED;
  }
  auto key = theMachine.registry.find(Upper(subKey));
  if (root != HKEY_LOCAL_MACHINE || key == theMachine.registry.end() ||
      key->second.erase(Upper(name)) == 0) {
    return ERROR_FILE_NOT_FOUND;
  }
  return ERROR_SUCCESS;
}

template <typename Function>
FARPROC EntryPoint(Function* function) {
  // Through the one function type that converts to and from every other without a warning.
  return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

struct Export {
  const char* library;
  const char* name;
  FARPROC address;
};

const Export kExports[] = {
    {"KERNEL32.DLL", "CreateToolhelp32Snapshot", EntryPoint(&CreateToolhelp32Snapshot)},
    {"KERNEL32.DLL", "Process32First", EntryPoint(&Process32First)},
    {"KERNEL32.DLL", "Process32Next", EntryPoint(&Process32Next)},
    {"PSAPI.DLL", "EnumProcesses", EntryPoint(&EnumProcesses)},
    {"PSAPI.DLL", "EnumProcessModules", EntryPoint(&EnumProcessModules)},
    {"PSAPI.DLL", "GetModuleBaseNameA", EntryPoint(&GetModuleBaseNameA)},
    {"SHLWAPI.DLL", "SHDeleteValueA", EntryPoint(&SHDeleteValueA)},
};

const char* const kLibraries[] = {"KERNEL32.DLL", "PSAPI.DLL", "SHLWAPI.DLL"};

// A loaded library's handle stands for its place in kLibraries.
const std::uintptr_t kFirstModule = 0x10000000;
const std::uintptr_t kModuleSpacing = 0x1000000;

HMODULE ModuleOf(std::size_t index) {
  return reinterpret_cast<HMODULE>(kFirstModule + index * kModuleSpacing);
}

// The library that `module` stands for; null for a handle that LoadLibraryA did not give.
const char* LibraryOf(HMODULE module) {
  const std::uintptr_t index =
      (reinterpret_cast<std::uintptr_t>(module) - kFirstModule) / kModuleSpacing;
  return index < std::size(kLibraries) ? kLibraries[index] : nullptr;
}

}  // namespace

Machine& TheMachine() { return theMachine; }

Machine& ResetMachine() {
  theMachine = Machine{};
  theMachine.registry["SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUNONCE"];
  return theMachine;
}

void UseWin9x(const char* windowsDirectory, const char* systemDirectory) {
  theMachine.platformId = VER_PLATFORM_WIN32_WINDOWS;
  theMachine.windowsDirectory = windowsDirectory;
  theMachine.systemDirectory = systemDirectory;
}

DWORD AddProcess(const std::string& imagePath) {
  Process process;
  process.id = theMachine.nextProcessId;
  theMachine.nextProcessId += 4;
  process.imagePath = imagePath;
  process.snapshotName = imagePath;
  std::size_t slash = imagePath.find_last_of("\\:");
  process.moduleName = slash == std::string::npos ? imagePath : imagePath.substr(slash + 1);
  theMachine.processes.push_back(process);
  return process.id;
}

Process& ProcessById(DWORD id) { return *FindProcess(id); }

void AddFile(const std::string& path) { theMachine.files.insert(Upper(path)); }

void MakeReadOnly(const std::string& path) { theMachine.readOnlyFiles.insert(Upper(path)); }

bool FileExists(const std::string& path) { return theMachine.files.count(Upper(path)) != 0; }

void SetProfileString(const std::string& file, const std::string& section, const std::string& key,
                      const std::string& value) {
  theMachine.profiles[Upper(file)][Upper(section)][Upper(key)] = value;
}

bool HasProfileString(const std::string& file, const std::string& section, const std::string& key) {
  auto f = theMachine.profiles.find(Upper(file));
  if (f == theMachine.profiles.end()) {
    return false;
  }
  auto s = f->second.find(Upper(section));
  return s != f->second.end() && s->second.count(Upper(key)) != 0;
}

std::string ProfileString(const std::string& file, const std::string& section,
                          const std::string& key) {
  if (!HasProfileString(file, section, key)) {
    return "(absent)";
  }
  return theMachine.profiles[Upper(file)][Upper(section)][Upper(key)];
}

void SetRegistryValue(const std::string& keyPath, const std::string& name, DWORD type,
                      const std::vector<BYTE>& data) {
  theMachine.registry[Upper(keyPath)][Upper(name)] = RegistryValue{type, data};
}

void SetRegistryString(const std::string& keyPath, const std::string& name,
                       const std::string& text) {
  std::vector<BYTE> data(text.begin(), text.end());
  data.push_back(0);
  SetRegistryValue(keyPath, name, REG_SZ, data);
}

bool HasRegistryValue(const std::string& keyPath, const std::string& name) {
  auto key = theMachine.registry.find(Upper(keyPath));
  return key != theMachine.registry.end() && key->second.count(Upper(name)) != 0;
}

void PressCharacter(int code) { theMachine.keys.push_back({KeyKind::Character, code, 0}); }
void PressSpecial(int lead, int code) { theMachine.keys.push_back({KeyKind::Special, code, lead}); }
void PressModifierOnly() { theMachine.keys.push_back({KeyKind::ModifierOnly, 0, 0}); }
void ReleaseKey() { theMachine.keys.push_back({KeyKind::Release, 0, 0}); }

void FailOperation(const std::string& operation, DWORD code, int times) {
  theMachine.failures[operation] = Failure{code, times};
}

std::size_t OpenHandleCount() { return theMachine.handles.size(); }

bool IsRunning(DWORD id) {
  const Process* process = FindProcess(id);
  return process && process->running;
}

std::vector<std::string> JournalOf(const std::string& operation) {
  std::vector<std::string> lines;
  for (const std::string& line : theMachine.journal) {
    if (line == operation || line.rfind(operation + " ", 0) == 0) {
      lines.push_back(line);
    }
  }
  return lines;
}

}  // namespace standin

using standin::theMachine;

BOOL GetVersionExA(OSVERSIONINFOA* info) {
  standin::Log("GetVersionExA " + std::to_string(info->dwOSVersionInfoSize));
  if (standin::FailsWithLastError("GetVersionExA")) {
    return FALSE;
  }
  if (info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) {
    theMachine.lastError = ERROR_INSUFFICIENT_BUFFER;
    return FALSE;
  }
  const bool nt = theMachine.platformId == VER_PLATFORM_WIN32_NT;
  info->dwMajorVersion = nt ? 5 : 4;
  info->dwMinorVersion = nt ? 0 : 10;
  info->dwBuildNumber = nt ? 2195 : 2222;
  info->dwPlatformId = theMachine.platformId;
  info->szCSDVersion[0] = '\0';
  return TRUE;
}

UINT GetWindowsDirectoryA(LPSTR buffer, UINT size) {
  return standin::QueryDirectory("GetWindowsDirectoryA", theMachine.windowsDirectory, buffer, size);
}

UINT GetSystemDirectoryA(LPSTR buffer, UINT size) {
  return standin::QueryDirectory("GetSystemDirectoryA", theMachine.systemDirectory, buffer, size);
}

DWORD GetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR defaultValue, LPSTR buffer,
                               DWORD size, LPCSTR file) {
  standin::Log("GetPrivateProfileStringA " + standin::Text(section) + " " + standin::Text(key) +
               " " + standin::Text(defaultValue) + " " + std::to_string(size) + " " +
               standin::Text(file));
  std::string value = defaultValue;
  if (!standin::FailsWithLastError("GetPrivateProfileStringA") &&
      standin::HasProfileString(file, section, key)) {
    value = standin::ProfileString(file, section, key);
  }
  return standin::CopyCut(value, buffer, size);
}

BOOL WritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR value, LPCSTR file) {
  standin::Log("WritePrivateProfileStringA " + standin::Text(section) + " " + standin::Text(key) +
               " [" + standin::Text(value) + "] " + standin::Text(file));
  if (standin::FailsWithLastError("WritePrivateProfileStringA")) {
    return FALSE;
  }
  standin::SetProfileString(file, section, key, value);
  return TRUE;
}

LSTATUS RegOpenKeyExA(HKEY root, LPCSTR subKey, DWORD options, REGSAM access, HKEY* result) {
  standin::Log("RegOpenKeyExA " +
               std::string(root == HKEY_LOCAL_MACHINE ? "HKEY_LOCAL_MACHINE" : "other") + " " +
               standin::Text(subKey) + " " + std::to_string(options) + " " + standin::Hex(access));
  DWORD code = 0;
  if (standin::Injected("RegOpenKeyExA", code)) {
    return static_cast<LSTATUS>(code);
  }
  std::string path = standin::Upper(subKey);
  if (root != HKEY_LOCAL_MACHINE || theMachine.registry.count(path) == 0) {
    return ERROR_FILE_NOT_FOUND;
  }
  if (theMachine.registryReadOnly && (access & ~KEY_QUERY_VALUE) != 0) {
    return ERROR_ACCESS_DENIED;
  }
  standin::HandleRecord record;
  record.kind = standin::HandleKind::RegistryKey;
  record.keyPath = path;
  record.access = access;
  *result = reinterpret_cast<HKEY>(standin::NewHandle(std::move(record)));
  return ERROR_SUCCESS;
}

LSTATUS RegQueryValueExA(HKEY key, LPCSTR name, LPDWORD reserved, LPDWORD type, LPBYTE data,
                         LPDWORD size) {
  standin::Log("RegQueryValueExA " + standin::Text(name) + " " + (reserved ? "reserved" : "null") +
               " " + (type ? "type" : "null") + " " +
               (size ? std::to_string(*size) : std::string("null")));
  DWORD code = 0;
  if (standin::Injected("RegQueryValueExA", code)) {
    return static_cast<LSTATUS>(code);
  }
  standin::HandleRecord* record = standin::Lookup(key, standin::HandleKind::RegistryKey);
  if (!record) {
    return ERROR_INVALID_HANDLE;
  }
  auto& values = theMachine.registry[record->keyPath];
  auto value = values.find(standin::Upper(name));
  if (value == values.end()) {
    return ERROR_FILE_NOT_FOUND;
  }
  if (type) {
    *type = value->second.type;
  }
  const std::vector<BYTE>& bytes = value->second.data;
  const DWORD needed = static_cast<DWORD>(bytes.size());
  if (data && size && *size < needed) {
    *size = needed;
    return ERROR_MORE_DATA;
  }
  if (data) {
    std::copy(bytes.begin(), bytes.end(), data);
  }
  if (size) {
    *size = needed;
  }
  return ERROR_SUCCESS;
}

// An injected failure of a close still releases the handle: a valid handle is gone either way.
LSTATUS RegCloseKey(HKEY key) {
  if (!standin::Lookup(key, standin::HandleKind::RegistryKey)) {
    return ERROR_INVALID_HANDLE;
  }
  theMachine.handles.erase(reinterpret_cast<std::uintptr_t>(key));
  DWORD code = 0;
  return standin::Injected("RegCloseKey", code) ? static_cast<LSTATUS>(code) : ERROR_SUCCESS;
}

LSTATUS RegDeleteValueA(HKEY key, LPCSTR name) {
  standin::Log("RegDeleteValueA " + standin::Text(name));
  DWORD code = 0;
  if (standin::Injected("RegDeleteValueA", code)) {
    return static_cast<LSTATUS>(code);
  }
  standin::HandleRecord* record = standin::Lookup(key, standin::HandleKind::RegistryKey);
  if (!record) {
    return ERROR_INVALID_HANDLE;
  }
  if ((record->access & KEY_SET_VALUE) == 0) {
    return ERROR_ACCESS_DENIED;
  }
  return theMachine.registry[record->keyPath].erase(standin::Upper(name)) != 0
             ? ERROR_SUCCESS
             : ERROR_FILE_NOT_FOUND;
}

BOOL DeleteFileA(LPCSTR path) {
  standin::Log("DeleteFileA " + standin::Text(path));
  if (standin::FailsWithLastError("DeleteFileA")) {
    return FALSE;
  }
  const std::string file = standin::Upper(path);
  if (theMachine.files.count(file) == 0) {
    theMachine.lastError = ERROR_FILE_NOT_FOUND;
    return FALSE;
  }
  if (theMachine.readOnlyFiles.count(file) != 0) {
    theMachine.lastError = ERROR_ACCESS_DENIED;
    return FALSE;
  }
  for (const standin::Process& process : theMachine.processes) {
    if (process.running && standin::Upper(process.imagePath) == file) {
      theMachine.lastError = ERROR_ACCESS_DENIED;
      return FALSE;
    }
  }
  theMachine.files.erase(file);
  return TRUE;
}

HMODULE LoadLibraryA(LPCSTR name) {
  standin::Log("LoadLibraryA " + standin::Text(name));
  if (standin::FailsWithLastError("LoadLibraryA")) {
    return nullptr;
  }
  const std::string library = standin::Upper(name);
  for (std::size_t i = 0; i < std::size(standin::kLibraries); ++i) {
    if (library == standin::kLibraries[i] && !theMachine.unloadableLibraries.count(library)) {
      theMachine.loadedLibraries.push_back(library);
      return standin::ModuleOf(i);
    }
  }
  theMachine.lastError = ERROR_MOD_NOT_FOUND;
  return nullptr;
}

FARPROC GetProcAddress(HMODULE module, LPCSTR name) {
  standin::Log("GetProcAddress " + standin::Text(name));
  if (standin::FailsWithLastError("GetProcAddress")) {
    return nullptr;
  }
  const char* library = standin::LibraryOf(module);
  if (library && !theMachine.missingEntryPoints.count(name)) {
    for (const standin::Export& entry : standin::kExports) {
      if (std::strcmp(entry.library, library) == 0 && std::strcmp(entry.name, name) == 0) {
        return entry.address;
      }
    }
  }
  theMachine.lastError = ERROR_PROC_NOT_FOUND;
  return nullptr;
}

BOOL FreeLibrary(HMODULE module) {
  const char* library = standin::LibraryOf(module);
  auto& loaded = theMachine.loadedLibraries;
  auto it = library ? std::find(loaded.begin(), loaded.end(), library) : loaded.end();
  if (it == loaded.end()) {
    theMachine.lastError = ERROR_MOD_NOT_FOUND;
    return FALSE;
  }
  standin::Log("FreeLibrary " + *it);
  loaded.erase(it);  // an injected failure still releases it, as with a handle
  return standin::FailsWithLastError("FreeLibrary") ? FALSE : TRUE;
}

HANDLE OpenProcess(DWORD access, BOOL inherit, DWORD processId) {
  standin::Log("OpenProcess " + standin::Hex(access) + " " + std::to_string(inherit) + " " +
               std::to_string(processId));
  if (standin::FailsWithLastError("OpenProcess")) {
    return nullptr;
  }
  standin::Process* process = standin::FindProcess(processId);
  if (!process || !process->running) {
    theMachine.lastError = ERROR_INVALID_PARAMETER;
    return nullptr;
  }
  if (process->openError) {
    theMachine.lastError = process->openError;
    return nullptr;
  }
  standin::HandleRecord record;
  record.kind = standin::HandleKind::Process;
  record.processId = processId;
  return standin::NewHandle(std::move(record));
}

BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode) {
  if (standin::FailsWithLastError("GetExitCodeProcess")) {
    return FALSE;
  }
  standin::Process* target = standin::ProcessOfHandle(process);
  if (!target) {
    theMachine.lastError = ERROR_INVALID_HANDLE;
    return FALSE;
  }
  *exitCode = target->exitCode;
  return TRUE;
}

DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds) {
  standin::Log("WaitForSingleObject " + std::to_string(milliseconds));
  theMachine.waits.push_back(milliseconds);
  DWORD code = 0;
  if (standin::Injected("WaitForSingleObject", code)) {
    theMachine.lastError = code;
    return static_cast<DWORD>(-1);  // WAIT_FAILED
  }
  standin::Process* target = standin::ProcessOfHandle(object);
  if (!target) {
    theMachine.lastError = ERROR_INVALID_HANDLE;
    return static_cast<DWORD>(-1);
  }
  if (!target->running) {
    return WAIT_OBJECT_0;
  }
  if (target->endsAfterMs != 0 && target->endsAfterMs <= milliseconds) {
    theMachine.clock += target->endsAfterMs;
    target->running = false;
    target->exitCode = 0;
    return WAIT_OBJECT_0;
  }
  theMachine.clock += milliseconds;
  return WAIT_TIMEOUT;
}

BOOL TerminateProcess(HANDLE process, UINT exitCode) {
  standin::Process* target = standin::ProcessOfHandle(process);
  standin::Log("TerminateProcess " + std::to_string(target ? target->id : 0) + " " +
               std::to_string(exitCode));
  if (standin::FailsWithLastError("TerminateProcess")) {
    return FALSE;
  }
  if (!target) {
    theMachine.lastError = ERROR_INVALID_HANDLE;
    return FALSE;
  }
  if (target->terminateError) {
    theMachine.lastError = target->terminateError;
    return FALSE;
  }
  if (!target->running) {
    theMachine.lastError = ERROR_ACCESS_DENIED;  // what Windows says of a process already gone
    return FALSE;
  }
  target->running = false;
  target->terminated = true;
  target->exitCode = exitCode;
  return TRUE;
}

BOOL CloseHandle(HANDLE object) {
  auto it = theMachine.handles.find(reinterpret_cast<std::uintptr_t>(object));
  if (it == theMachine.handles.end() || it->second.kind == standin::HandleKind::RegistryKey) {
    theMachine.lastError = ERROR_INVALID_HANDLE;
    return FALSE;
  }
  theMachine.handles.erase(it);
  return standin::FailsWithLastError("CloseHandle") ? FALSE : TRUE;
}

void Sleep(DWORD milliseconds) {
  standin::Log("Sleep " + std::to_string(milliseconds));
  theMachine.pauses.push_back({milliseconds, theMachine.transcript.size()});
  theMachine.clock += milliseconds;
}

DWORD GetLastError() { return theMachine.lastError; }

void SetLastError(DWORD code) { theMachine.lastError = code; }

HANDLE GetStdHandle(DWORD which) {
  if (which == STD_OUTPUT_HANDLE) {
    return standin::kStandardOutput;
  }
  if (which != STD_INPUT_HANDLE) {
    return INVALID_HANDLE_VALUE;
  }
  switch (theMachine.standardInput) {
    case standin::StandardInput::Console:
      return standin::kConsoleInput;
    case standin::StandardInput::File:
      return standin::kFileInput;
    case standin::StandardInput::Pipe:
      return standin::kPipeInput;
    case standin::StandardInput::None:
      break;
  }
  return nullptr;  // a process started without standard input
}

BOOL GetConsoleMode(HANDLE console, LPDWORD mode) {
  standin::Log("GetConsoleMode");
  if (standin::FailsWithLastError("GetConsoleMode")) {
    return FALSE;
  }
  if (console != standin::kConsoleInput) {
    theMachine.lastError = ERROR_INVALID_HANDLE;
    return FALSE;
  }
  *mode = 0x7;  // processed input, line input, echo: the console's defaults
  return TRUE;
}

BOOL WriteFile(HANDLE file, LPCVOID data, DWORD size, LPDWORD written, void* overlapped) {
  (void)overlapped;
  if (standin::FailsWithLastError("WriteFile")) {
    return FALSE;
  }
  if (file != standin::kStandardOutput) {
    theMachine.lastError = ERROR_INVALID_HANDLE;
    return FALSE;
  }
  theMachine.transcript.append(static_cast<const char*>(data), size);
  if (written) {
    *written = size;
  }
  return TRUE;
}

int _getch() {  // NOLINT(bugprone-reserved-identifier)
  standin::Log("_getch");
  ++theMachine.keyReads;
  if (theMachine.heldKeyCode >= 0) {
    int code = theMachine.heldKeyCode;
    theMachine.heldKeyCode = -1;
    return code;
  }
  if (!theMachine.hasConsole) {
    return -1;  // end of input: no console could be opened
  }
  while (!theMachine.keys.empty()) {
    standin::KeyPress key = theMachine.keys.front();
    theMachine.keys.pop_front();
    if (key.kind == standin::KeyKind::Character) {
      return key.code;
    }
    if (key.kind == standin::KeyKind::Special) {
      theMachine.heldKeyCode = key.code;
      return key.lead;
    }
  }
  ++theMachine.keyReadsWithNothingToRead;
  return -1;
}
