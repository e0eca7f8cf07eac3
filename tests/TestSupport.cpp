#include "TestSupport.h"

#include <stdexcept>

std::string TestBinaryDir() {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  std::string dir(path, length);
  return dir.substr(0, dir.rfind('\\') + 1);
}

ScratchDir::ScratchDir(const std::string& label) {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  static unsigned counter = 0;
  path_ = std::string(temp) + "setup tests " + std::to_string(GetCurrentProcessId()) + "-" +
          std::to_string(++counter) + "\\" + label + "\\";
  MakeDir("");
}

ScratchDir::~ScratchDir() {
  // Remove the per-test parent folder as well.
  std::string parent = path_.substr(0, path_.size() - 1);
  parent = parent.substr(0, parent.rfind('\\'));
  RemoveTree(parent);
}

std::string ScratchDir::MakeDir(const std::string& relative) const {
  std::string full = path_ + relative;
  if (!full.empty() && full.back() != '\\') full += '\\';
  for (std::string::size_type i = 3; i < full.size(); ++i) {
    if (full[i] == '\\') CreateDirectoryA(full.substr(0, i).c_str(), nullptr);
  }
  return full;
}

void CopyFileOrThrow(const std::string& from, const std::string& to) {
  if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) {
    throw std::runtime_error("cannot copy " + from + " to " + to + ", error " +
                             std::to_string(GetLastError()));
  }
}

void WriteFileOrThrow(const std::string& path, const std::string& content) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw std::runtime_error("cannot create " + path);
  DWORD written = 0;
  const BOOL ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
  CloseHandle(file);
  if (!ok || written != content.size()) throw std::runtime_error("cannot write " + path);
}

bool RemoveTree(const std::string& path) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string child = path + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveTree(child);
      } else {
        SetFileAttributesA(child.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(child.c_str());
      }
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  return RemoveDirectoryA(path.c_str()) != 0;
}

ScopedEnv::ScopedEnv(const char* name, const std::string& value) : name_(name) {
  char buffer[32768];
  const DWORD length = GetEnvironmentVariableA(name, buffer, sizeof buffer);
  if (length > 0 && length < sizeof buffer) old_ = std::string(buffer, length);
  SetEnvironmentVariableA(name, value.c_str());
}

ScopedEnv::~ScopedEnv() {
  SetEnvironmentVariableA(name_.c_str(), old_ ? old_->c_str() : nullptr);
}

namespace {

std::vector<std::string> SplitTabs(const std::string& line) {
  std::vector<std::string> fields;
  std::string::size_type start = 0;
  for (;;) {
    const std::string::size_type tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

}  // namespace

std::string ReadWholeFile(const std::string& path) {
  std::string text;
  // Shared access: the helper programs may still be appending.
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  CloseHandle(file);
  return text;
}

std::vector<JournalEntry> ReadJournal(const std::string& path) {
  std::vector<JournalEntry> entries;
  const std::string text = ReadWholeFile(path);
  std::string::size_type start = 0;
  while (start < text.size()) {
    std::string::size_type end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    const std::vector<std::string> fields = SplitTabs(text.substr(start, end - start));
    start = end + 1;
    if (fields.size() < 4) continue;
    JournalEntry entry;
    entry.event = fields[0];
    entry.name = fields[1];
    entry.time = std::stoull(fields[2]);
    entry.pid = std::stoul(fields[3]);
    if (fields.size() > 5) {
      entry.commandLine = fields[4];
      entry.folder = fields[5];
    }
    entries.push_back(entry);
  }
  return entries;
}

bool IsOwnPathAsCommandLine(const std::string& path, const JournalEntry& entry) {
  return entry.commandLine == path || entry.commandLine == "\"" + path + "\"";
}

bool StartedIn(const std::string& folder, const JournalEntry& entry) {
  return lstrcmpiA((entry.folder + "\\").c_str(), folder.c_str()) == 0;
}

std::vector<std::string> StartedNames(const std::vector<JournalEntry>& journal) {
  std::vector<std::string> names;
  for (const JournalEntry& entry : journal) {
    if (entry.event == "start") names.push_back(entry.name);
  }
  return names;
}

namespace RegValue {

void Set(HKEY root, const std::string& key, const std::string& name, DWORD type,
         const std::string& data, REGSAM view) {
  HKEY handle = nullptr;
  LONG status = RegCreateKeyExA(root, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS | view, nullptr,
                                &handle, nullptr);
  if (status != ERROR_SUCCESS) throw std::runtime_error("cannot create key " + key);
  status = RegSetValueExA(handle, name.c_str(), 0, type,
                          reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()));
  RegCloseKey(handle);
  if (status != ERROR_SUCCESS) throw std::runtime_error("cannot set value " + name);
}

void SetString(HKEY root, const std::string& key, const std::string& name,
               const std::string& value, REGSAM view) {
  Set(root, key, name, REG_SZ, std::string(value.c_str(), value.size() + 1), view);
}

void Delete(HKEY root, const std::string& key, const std::string& name, REGSAM view) {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_ALL_ACCESS | view, &handle) != ERROR_SUCCESS) return;
  RegDeleteValueA(handle, name.c_str());
  RegCloseKey(handle);
}

std::optional<Raw> Get(HKEY root, const std::string& key, const std::string& name, REGSAM view) {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ | view, &handle) != ERROR_SUCCESS) {
    return std::nullopt;
  }
  Raw raw;
  DWORD size = 0;
  LONG status = RegQueryValueExA(handle, name.c_str(), nullptr, &raw.type, nullptr, &size);
  if (status == ERROR_SUCCESS) {
    raw.data.assign(size, '\0');
    status = RegQueryValueExA(handle, name.c_str(), nullptr, &raw.type,
                              reinterpret_cast<BYTE*>(&raw.data[0]), &size);
    raw.data.resize(size);
  }
  RegCloseKey(handle);
  if (status != ERROR_SUCCESS) return std::nullopt;
  return raw;
}

bool KeyExists(HKEY root, const std::string& key, REGSAM view) {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_READ | view, &handle) != ERROR_SUCCESS) return false;
  RegCloseKey(handle);
  return true;
}

void DeleteTree(HKEY root, const std::string& key, REGSAM view) {
  HKEY handle = nullptr;
  if (RegOpenKeyExA(root, key.c_str(), 0, KEY_ALL_ACCESS | view, &handle) != ERROR_SUCCESS) return;
  RegDeleteTreeA(handle, nullptr);
  RegCloseKey(handle);
  RegDeleteKeyExA(root, key.c_str(), view, 0);
}

}  // namespace RegValue

SavedRegValue::SavedRegValue(HKEY root, std::string key, std::string name)
    : root_(root), key_(std::move(key)), name_(std::move(name)),
      saved_(RegValue::Get(root_, key_, name_)) {}

SavedRegValue::~SavedRegValue() {
  try {
    if (saved_) {
      RegValue::Set(root_, key_, name_, saved_->type, saved_->data);
    } else {
      RegValue::Delete(root_, key_, name_);
    }
  } catch (...) {
    // Best effort: the prefix belongs to this test run.
  }
}

ChildProcess::ChildProcess(const std::string& exe, const std::string& arguments) {
  std::string commandLine = "\"" + exe + "\"";
  if (!arguments.empty()) commandLine += " " + arguments;
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &started)) {
    throw std::runtime_error("cannot start " + exe + ", error " + std::to_string(GetLastError()));
  }
  CloseHandle(started.hThread);
  process_ = started.hProcess;
  pid_ = started.dwProcessId;
}

ChildProcess::~ChildProcess() {
  if (WaitForSingleObject(process_, 0) != WAIT_OBJECT_0) {
    TerminateProcess(process_, 1);  // never leave it behind
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
}

bool ChildProcess::Wait(DWORD limitMs) { return WaitForSingleObject(process_, limitMs) == WAIT_OBJECT_0; }

DWORD ChildProcess::ExitCode() const {
  DWORD code = STILL_ACTIVE;
  GetExitCodeProcess(process_, &code);
  return code;
}

ProcessResult RunProcess(const std::string& exe, const std::string& arguments, DWORD limitMs) {
  ChildProcess child(exe, arguments);
  ProcessResult result;
  result.finished = child.Wait(limitMs);
  result.exitCode = child.ExitCode();
  return result;
}

void WaitForPid(DWORD pid, DWORD limitMs) {
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, pid);
  if (process == nullptr) return;
  if (WaitForSingleObject(process, limitMs) != WAIT_OBJECT_0) TerminateProcess(process, 1);
  CloseHandle(process);
}

unsigned long long NowFileTime() {
  FILETIME time;
  GetSystemTimeAsFileTime(&time);
  return (static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}
