// Benchmark: runs Setup.exe and three other launchers that do the same job, many times
// each, on one distribution folder, and prints one table comparing them.
//
//   Benchmark.exe [--runs N] [--from FOLDER]
//
// FOLDER (by default the folder of Benchmark.exe) holds the launchers -- Setup.exe,
// floor_bare.exe, floor_windowed.exe and nsis_peer.exe (left out when missing) -- and
// the stand-ins fake_console.exe and fake_window.exe. The benchmark lays out
// FOLDER\bench-run\Product Disc with every launcher beside one Lib folder of stand-ins,
// so all launchers start the very same files.
//
// Every run starts from the same registry state: no data-access version and no .NET
// entry, so Setup.exe runs its whole chain (mdac_typ.exe, dotnetfx.exe, langpack.exe,
// KalvoDemo.exe). The floors and the NSIS peer run the same four in the same order.
// Launchers take turns, one run each per round, so slow drifts of the machine hit them
// all alike.
//
// Times come from the processes themselves: each launcher is started in a job object
// whose completion port announces every program it starts; the benchmark opens those
// programs and reads their creation and exit times with GetProcessTimes. The journal
// the stand-ins write checks that the right programs ran in the right order, and gives
// their times should a program have come and gone before it could be opened.
//
// The figures, each the median over the runs with its smallest and largest value:
//   file size           of the launcher's executable
//   extra start-up      launcher's creation to the first program's creation, less the
//                       one second every launcher waits on purpose
//   chain gap           one program's exit to the next one's creation (all gaps)
//   CPU while waiting   the launcher's user and kernel time, per second, while the last
//                       program runs (its first half second left out)
//   peak working set,   the highest values seen while the launcher is alive, sampled
//   peak private bytes  every 50 ms with GetProcessMemoryInfo
// Ratios are Setup.exe's median over the other launcher's median.
#include <windows.h>
#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

// What the stand-ins do: short installers, then the product runs for 5 s, during which
// the launcher's CPU use is measured.
const char kActions[] =
    "mdac_typ.exe=hold:200;dotnetfx.exe=install-dotnet,hold:200;langpack.exe=hold:200;"
    "KalvoDemo.exe=hold:5000";
const char* const kChain[] = {"mdac_typ.exe", "dotnetfx.exe", "langpack.exe", "KalvoDemo.exe"};
constexpr int kChainLength = 4;

constexpr double kDeliberateWaitMs = 1000.0;  // every launcher waits 1 s on purpose
constexpr DWORD kSampleEveryMs = 50;
constexpr DWORD kRunLimitMs = 180000;
constexpr double kCpuWindowSkipMs = 500.0;  // the last program's own start-up is not "waiting"

typedef unsigned long long Ticks;  // 100 ns units of the system clock

Ticks ToTicks(const FILETIME& time) {
  return (static_cast<Ticks>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

Ticks Now() {
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  return ToTicks(now);
}

double Ms(long long ticks) { return ticks / 10000.0; }

std::string Folder(const std::string& path) {
  const std::string::size_type slash = path.find_last_of("\\/");
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
  const std::string::size_type slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

long long FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return -1;
  return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void Fail(const std::string& what) {
  std::fprintf(stderr, "Benchmark: %s\n", what.c_str());
  std::exit(2);
}

void CopyOrFail(const std::string& from, const std::string& to) {
  if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) Fail("cannot copy " + from + " to " + to);
}

// --- Registry -------------------------------------------------------------------------

void DeleteValue(const char* key, const char* name) {
  const REGSAM views[] = {KEY_WOW64_32KEY, KEY_WOW64_64KEY};
  for (REGSAM view : views) {
    HKEY opened = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_SET_VALUE | view, &opened) == ERROR_SUCCESS) {
      RegDeleteValueA(opened, name);
      RegCloseKey(opened);
    }
  }
}

// Neither prerequisite installed, and nothing left from an earlier run.
void ResetRegistry() {
  DeleteValue("Software\\Microsoft\\DataAccess", "FullInstallVer");
  DeleteValue("Software\\Microsoft\\.NETFramework", "InstallRoot");
  DeleteValue("Software\\Crystal Decisions\\9.0\\Crystal Reports", "CommonFiles");
}

// --- One run --------------------------------------------------------------------------

struct Program {  // one program the launcher started, as the journal saw it
  std::string name;
  DWORD pid = 0;
  Ticks created = 0;
  Ticks exited = 0;
  bool fromProcess = false;  // times read from the process itself, not the journal
};

struct Sample {
  Ticks at;
  Ticks launcherCpu;
};

struct RunResult {
  bool ok = false;
  std::string problem;
  double startupMs = 0;
  std::vector<double> gapsMs;
  bool cpuMeasured = false;
  double cpuMs = 0, waitedMs = 0;
  double peakWorkingSetKiB = 0;
  double peakPrivateKiB = 0;
  bool timesFromProcesses = false;
};

std::vector<Program> ReadJournal(const std::string& path) {
  std::vector<Program> programs;
  std::ifstream in(path.c_str());
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    std::vector<std::string> fields;
    std::stringstream split(line);
    std::string field;
    while (std::getline(split, field, '\t')) fields.push_back(field);
    if (fields.size() < 4) continue;
    const DWORD pid = static_cast<DWORD>(std::strtoul(fields[3].c_str(), nullptr, 10));
    const Ticks time = std::strtoull(fields[2].c_str(), nullptr, 10);
    if (fields[0] == "start") {
      Program program;
      program.name = fields[1];
      program.pid = pid;
      program.created = time;
      programs.push_back(program);
    } else if (fields[0] == "end") {
      for (Program& program : programs) {
        if (program.pid == pid && program.name == fields[1]) program.exited = time;
      }
    }
  }
  return programs;
}

// User and kernel time of all threads of a process. Summed thread by thread, because
// Wine's GetProcessTimes reports the caller's own CPU time for any process, while its
// GetThreadTimes reads the right thread's.
Ticks CpuTime(DWORD pid) {
  Ticks total = 0;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return 0;
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID != pid) continue;
    HANDLE thread = OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID);
    if (thread == nullptr) continue;
    FILETIME created, exited, kernel, user;
    if (GetThreadTimes(thread, &created, &exited, &kernel, &user)) {
      total += ToTicks(kernel) + ToTicks(user);
    }
    CloseHandle(thread);
  }
  CloseHandle(snapshot);
  return total;
}

RunResult RunOnce(const std::string& launcher, const std::string& distribution,
                  const std::string& journal) {
  RunResult result;
  ResetRegistry();
  DeleteFileA(journal.c_str());

  HANDLE job = CreateJobObjectA(nullptr, nullptr);
  HANDLE port = CreateIoCompletionPort(INVALID_HANDLE_VALUE, nullptr, 0, 1);
  JOBOBJECT_ASSOCIATE_COMPLETION_PORT link = {};
  link.CompletionKey = job;
  link.CompletionPort = port;
  if (job == nullptr || port == nullptr ||
      !SetInformationJobObject(job, JobObjectAssociateCompletionPortInformation, &link,
                               sizeof link)) {
    Fail("cannot set up a job object with a completion port");
  }

  // Started suspended, so that it is in the job before it can start anything.
  std::string commandLine = "\"" + launcher + "\"";
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  if (!CreateProcessA(launcher.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                      nullptr, distribution.c_str(), &startup, &started)) {
    Fail("cannot start " + launcher);
  }
  if (!AssignProcessToJobObject(job, started.hProcess)) {
    TerminateProcess(started.hProcess, 1);
    Fail("cannot put " + launcher + " in a job object");
  }
  ResumeThread(started.hThread);
  CloseHandle(started.hThread);
  HANDLE process = started.hProcess;

  std::map<DWORD, HANDLE> children;  // every program the launcher started, by id
  std::map<DWORD, std::string> childNames;
  std::vector<Sample> waitingSamples;  // launcher's CPU while the last program runs
  SIZE_T peakWorkingSet = 0, peakPrivate = 0;
  const Ticks begin = Now();

  for (;;) {
    DWORD message = 0;
    ULONG_PTR key = 0;
    LPOVERLAPPED detail = nullptr;
    if (GetQueuedCompletionStatus(port, &message, &key, &detail, kSampleEveryMs) &&
        message == JOB_OBJECT_MSG_NEW_PROCESS) {
      const DWORD pid = static_cast<DWORD>(reinterpret_cast<ULONG_PTR>(detail));
      if (pid != started.dwProcessId && children.count(pid) == 0) {
        HANDLE child = OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, pid);
        if (child != nullptr) children[pid] = child;
      }
    }
    // A program just created has no image name yet: ask until it has one.
    for (const auto& child : children) {
      if (!childNames[child.first].empty()) continue;
      char path[MAX_PATH] = "";
      DWORD size = MAX_PATH;
      if (QueryFullProcessImageNameA(child.second, 0, path, &size)) childNames[child.first] = BaseName(path);
    }

    if (WaitForSingleObject(process, 0) == WAIT_OBJECT_0) break;

    // Memory peaks, kept as the highest of all samples taken while the launcher is
    // alive: Wine reports a true peak for the working set, but only the current value
    // as the "peak" of private bytes.
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    if (GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof memory) &&
        WaitForSingleObject(process, 0) == WAIT_TIMEOUT) {
      peakWorkingSet = std::max(peakWorkingSet, memory.PeakWorkingSetSize);
      peakPrivate = std::max({peakPrivate, memory.PeakPagefileUsage, memory.PrivateUsage});
    }

    // CPU while waiting: samples taken while the last program of the chain is running.
    for (const auto& child : children) {
      if (lstrcmpiA(childNames[child.first].c_str(), kChain[kChainLength - 1]) != 0) continue;
      const Sample sample = {Now(), CpuTime(started.dwProcessId)};
      if (WaitForSingleObject(child.second, 0) == WAIT_TIMEOUT) waitingSamples.push_back(sample);
    }

    if (Ms(static_cast<long long>(Now() - begin)) > kRunLimitMs) {
      TerminateJobObject(job, 1);
      result.problem = "did not end within the time limit";
      break;
    }
  }

  FILETIME created, exited, kernel, user;
  GetProcessTimes(process, &created, &exited, &kernel, &user);
  const Ticks launcherCreated = ToTicks(created);

  // Which programs ran, in which order: the journal; their times: the processes.
  std::vector<Program> programs = ReadJournal(journal);
  bool allFromProcesses = true;
  for (Program& program : programs) {
    const auto child = children.find(program.pid);
    if (child != children.end() && WaitForSingleObject(child->second, 0) == WAIT_OBJECT_0 &&
        GetProcessTimes(child->second, &created, &exited, &kernel, &user)) {
      program.created = ToTicks(created);
      program.exited = ToTicks(exited);
      program.fromProcess = true;
    } else {
      allFromProcesses = false;
    }
  }
  result.timesFromProcesses = allFromProcesses;

  for (const auto& child : children) CloseHandle(child.second);
  CloseHandle(process);
  CloseHandle(port);
  CloseHandle(job);
  if (!result.problem.empty()) return result;

  bool chainAsExpected = programs.size() == kChainLength;
  for (size_t i = 0; chainAsExpected && i < programs.size(); ++i) {
    chainAsExpected = lstrcmpiA(programs[i].name.c_str(), kChain[i]) == 0 && programs[i].exited != 0;
  }
  if (!chainAsExpected) {
    result.problem = "did not run the expected chain (" + std::to_string(programs.size()) +
                     " programs in the journal)";
    return result;
  }

  result.startupMs =
      Ms(static_cast<long long>(programs[0].created - launcherCreated)) - kDeliberateWaitMs;
  for (size_t i = 1; i < programs.size(); ++i) {
    result.gapsMs.push_back(
        Ms(static_cast<long long>(programs[i].created) - static_cast<long long>(programs[i - 1].exited)));
  }

  const Ticks lastStarted = programs.back().created;
  const Sample* first = nullptr;
  for (const Sample& sample : waitingSamples) {
    if (first == nullptr && Ms(static_cast<long long>(sample.at - lastStarted)) >= kCpuWindowSkipMs) {
      first = &sample;
    }
  }
  if (first != nullptr && waitingSamples.back().at > first->at) {
    const Sample& last = waitingSamples.back();
    result.cpuMeasured = true;
    result.cpuMs = Ms(static_cast<long long>(last.launcherCpu - first->launcherCpu));
    result.waitedMs = Ms(static_cast<long long>(last.at - first->at));
  }
  result.peakWorkingSetKiB = peakWorkingSet / 1024.0;
  result.peakPrivateKiB = peakPrivate / 1024.0;
  result.ok = true;
  return result;
}

// --- Figures and the table ------------------------------------------------------------

struct Stats {
  bool valid = false;
  double median = 0, min = 0, max = 0;
  size_t count = 0;
};

Stats Summarize(std::vector<double> values) {
  Stats stats;
  if (values.empty()) return stats;
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  stats.valid = true;
  stats.count = n;
  stats.median = n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
  stats.min = values.front();
  stats.max = values.back();
  return stats;
}

struct Launcher {
  std::string label;
  std::string file;
  bool present = false;
  long long size = 0;
  std::vector<double> startupMs, gapsMs, cpuMsPerSecond, peakWorkingSetKiB, peakPrivateKiB;
  double cpuMsTotal = 0, waitedMsTotal = 0;
  int runs = 0, failed = 0, journalTimes = 0;
  std::string lastProblem;
};

enum Figure { kSize, kStartup, kGap, kCpu, kWorkingSet, kPrivate, kFigureCount };

struct FigureInfo {
  const char* name;
  const char* format;  // printf format of one value
};

const FigureInfo kFigures[kFigureCount] = {
    {"File size (bytes)", "%.0f"},
    {"Extra start-up (ms)", "%.1f"},
    {"Chain gap (ms)", "%.1f"},
    {"CPU while waiting (ms/s)", "%.2f"},
    {"Peak working set (KiB)", "%.0f"},
    {"Peak private bytes (KiB)", "%.0f"},
};

Stats FigureStats(const Launcher& launcher, int figure) {
  switch (figure) {
    case kSize: return launcher.present ? Summarize({static_cast<double>(launcher.size)}) : Stats();
    case kStartup: return Summarize(launcher.startupMs);
    case kGap: return Summarize(launcher.gapsMs);
    case kCpu: return Summarize(launcher.cpuMsPerSecond);
    case kWorkingSet: return Summarize(launcher.peakWorkingSetKiB);
    default: return Summarize(launcher.peakPrivateKiB);
  }
}

std::string Format(const char* format, double value) {
  char text[64];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

std::string Cell(const Stats& stats, int figure) {
  if (!stats.valid) return "n/a";
  const char* format = kFigures[figure].format;
  std::string cell = Format(format, stats.median);
  if (figure != kSize) cell += " (" + Format(format, stats.min) + "-" + Format(format, stats.max) + ")";
  return cell;
}

bool Ratio(const Stats& ours, const Stats& theirs, double* ratio) {
  if (!ours.valid || !theirs.valid || theirs.median <= 0) return false;
  *ratio = ours.median / theirs.median;
  return true;
}

std::string RatioCell(const Stats& ours, const Stats& theirs) {
  double ratio = 0;
  return Ratio(ours, theirs, &ratio) ? Format("%.2f", ratio) : "n/a";
}

// The goal for each figure and whether Setup.exe meets it.
std::string Target(int figure, const std::vector<Stats>& row, std::string* verdict) {
  const Stats& setup = row[0];
  double ratio = 0;
  bool met = false, known = true;
  std::string goal;
  switch (figure) {
    case kSize:
      goal = "<= 49,152 B";
      known = setup.valid;
      met = setup.median <= 49152;
      break;
    case kStartup:
      goal = "<= 1.10 x windowed";
      known = Ratio(setup, row[2], &ratio);
      met = ratio <= 1.10;
      break;
    case kGap:
      goal = "<= 1.10 x bare";
      known = Ratio(setup, row[1], &ratio);
      met = ratio <= 1.10;
      break;
    case kCpu:
      goal = "< 1 ms/s";
      known = setup.valid;
      met = setup.median < 1.0;
      break;
    default:
      goal = "<= 1.10 x windowed";
      known = Ratio(setup, row[2], &ratio);
      met = ratio <= 1.10;
      break;
  }
  *verdict = !known ? "n/a" : met ? "met" : "missed";
  return goal;
}

void PrintRow(const std::vector<std::string>& cells, const std::vector<size_t>& widths) {
  std::printf("|");
  for (size_t i = 0; i < cells.size(); ++i) {
    std::printf(" %-*s |", static_cast<int>(widths[i]), cells[i].c_str());
  }
  std::printf("\n");
}

void PrintTable(const std::vector<Launcher>& launchers) {
  std::vector<std::vector<std::string>> table;
  table.push_back({"Figure", launchers[0].label, launchers[1].label, launchers[2].label,
                   launchers[3].label, "Setup/bare", "Setup/windowed", "Setup/NSIS", "Target",
                   "Setup.exe meets it"});
  for (int figure = 0; figure < kFigureCount; ++figure) {
    std::vector<Stats> row;
    for (const Launcher& launcher : launchers) row.push_back(FigureStats(launcher, figure));
    std::vector<std::string> cells = {kFigures[figure].name};
    for (int i = 0; i < 4; ++i) cells.push_back(Cell(row[i], figure));
    for (int i = 1; i < 4; ++i) cells.push_back(RatioCell(row[0], row[i]));
    std::string verdict;
    cells.push_back(Target(figure, row, &verdict));
    cells.push_back(verdict);
    table.push_back(cells);
  }

  std::vector<size_t> widths(table[0].size(), 0);
  for (const auto& cells : table) {
    for (size_t i = 0; i < cells.size(); ++i) widths[i] = std::max(widths[i], cells[i].size());
  }
  PrintRow(table[0], widths);
  std::printf("|");
  for (size_t i = 0; i < widths.size(); ++i) {
    std::printf("%s|", std::string(widths[i] + 2, '-').c_str());
  }
  std::printf("\n");
  for (size_t i = 1; i < table.size(); ++i) PrintRow(table[i], widths);
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 10;
  std::string from;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--runs" && i + 1 < argc) {
      runs = std::atoi(argv[++i]);
    } else if (arg == "--from" && i + 1 < argc) {
      from = argv[++i];
    } else {
      std::fprintf(stderr, "usage: Benchmark.exe [--runs N] [--from FOLDER]\n");
      return 2;
    }
  }
  if (runs < 1) runs = 1;
  if (from.empty()) {
    char self[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) Fail("cannot find my own folder");
    from = Folder(std::string(self, length));
  }

  std::vector<Launcher> launchers(4);
  launchers[0].label = "Setup.exe";
  launchers[0].file = "Setup.exe";
  launchers[1].label = "bare floor";
  launchers[1].file = "floor_bare.exe";
  launchers[2].label = "windowed floor";
  launchers[2].file = "floor_windowed.exe";
  launchers[3].label = "NSIS";
  launchers[3].file = "nsis_peer.exe";

  // The distribution folder: every launcher beside one Lib of stand-ins.
  const std::string work = from + "\\bench-run";
  const std::string distribution = work + "\\Product Disc";
  const std::string lib = distribution + "\\Lib";
  const std::string journal = work + "\\journal.txt";
  CreateDirectoryA(work.c_str(), nullptr);
  CreateDirectoryA(distribution.c_str(), nullptr);
  CreateDirectoryA(lib.c_str(), nullptr);
  for (int i = 0; i < kChainLength; ++i) {
    const bool windowed = i == kChainLength - 1;
    CopyOrFail(from + (windowed ? "\\fake_window.exe" : "\\fake_console.exe"), lib + "\\" + kChain[i]);
  }
  for (Launcher& launcher : launchers) {
    const std::string source = from + "\\" + launcher.file;
    launcher.present = FileExists(source);
    if (!launcher.present) {
      if (launcher.file == "Setup.exe") Fail("Setup.exe not found in " + from);
      std::fprintf(stderr, "Benchmark: %s not found, its column stays empty\n", source.c_str());
      continue;
    }
    launcher.size = FileSize(source);
    CopyOrFail(source, distribution + "\\" + launcher.file);
  }

  SetEnvironmentVariableA("SETUP_TEST_JOURNAL", journal.c_str());
  SetEnvironmentVariableA("SETUP_TEST_ACTIONS", kActions);

  // One unmeasured round first: the first start of a program in a fresh prefix pays
  // for things (the desktop process, caches) that later starts do not.
  const int rounds = runs + 1;
  for (int round = 0; round < rounds; ++round) {
    for (size_t turn = 0; turn < launchers.size(); ++turn) {
      Launcher& launcher = launchers[(turn + round) % launchers.size()];
      if (!launcher.present) continue;
      std::fprintf(stderr, "%s %d/%d: %s\n", round == 0 ? "warm-up" : "run", round, runs,
                   launcher.label.c_str());
      const RunResult result = RunOnce(distribution + "\\" + launcher.file, distribution, journal);
      if (round == 0) continue;
      ++launcher.runs;
      if (!result.ok) {
        ++launcher.failed;
        launcher.lastProblem = result.problem;
        std::fprintf(stderr, "  %s %s\n", launcher.label.c_str(), result.problem.c_str());
        continue;
      }
      if (!result.timesFromProcesses) ++launcher.journalTimes;
      launcher.startupMs.push_back(result.startupMs);
      launcher.gapsMs.insert(launcher.gapsMs.end(), result.gapsMs.begin(), result.gapsMs.end());
      if (result.cpuMeasured) {
        launcher.cpuMsPerSecond.push_back(result.cpuMs / (result.waitedMs / 1000.0));
        launcher.cpuMsTotal += result.cpuMs;
        launcher.waitedMsTotal += result.waitedMs;
      }
      if (result.peakWorkingSetKiB > 0) launcher.peakWorkingSetKiB.push_back(result.peakWorkingSetKiB);
      if (result.peakPrivateKiB > 0) launcher.peakPrivateKiB.push_back(result.peakPrivateKiB);
    }
  }

  std::printf("Launchers compared over %d runs each (median (min-max); ratios of medians):\n\n",
              runs);
  PrintTable(launchers);
  std::printf("\n");

  // CPU time comes in whole clock ticks (10 ms under Wine), coarse for one 5 s wait;
  // all runs together give a finer figure.
  std::printf("CPU while waiting, all runs together:\n");
  for (const Launcher& launcher : launchers) {
    if (launcher.waitedMsTotal <= 0) continue;
    std::printf("  %-15s %.2f ms/s (%.0f ms in %.1f s)\n", launcher.label.c_str(),
                launcher.cpuMsTotal / (launcher.waitedMsTotal / 1000.0), launcher.cpuMsTotal,
                launcher.waitedMsTotal / 1000.0);
  }
  std::printf("\n");
  bool anyFailed = false;
  for (const Launcher& launcher : launchers) {
    if (!launcher.present) continue;
    std::printf("%s: %d runs, %d failed", launcher.label.c_str(), launcher.runs, launcher.failed);
    if (launcher.journalTimes > 0) {
      std::printf(", %d with some times from the journal", launcher.journalTimes);
    }
    if (launcher.failed > 0) std::printf(" (last: %s)", launcher.lastProblem.c_str());
    std::printf("\n");
    anyFailed = anyFailed || launcher.failed > 0;
  }
  return anyFailed ? 1 : 0;
}
