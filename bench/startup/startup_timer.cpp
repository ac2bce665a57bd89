// Times programs from their process start to their first visible dialog (a window of class
// "#32770"), in turns, and prints each one's median and the ratio of each to the first:
//   startup_timer RUNS BASELINE.exe PROGRAM.exe [...]
// Every program is ended as soon as its dialog shows.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

struct Search {
  DWORD processId;
  bool found;
};

BOOL CALLBACK FindVisibleDialog(HWND window, LPARAM parameter) {
  Search* search = reinterpret_cast<Search*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->processId || !IsWindowVisible(window)) return TRUE;
  char className[16] = "";
  GetClassNameA(window, className, sizeof className);
  if (lstrcmpA(className, "#32770") != 0) return TRUE;
  search->found = true;
  return FALSE;
}

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(to.QuadPart - from.QuadPart) / frequency.QuadPart;
}

// Seconds from CreateProcess to the dialog; negative when it never showed (10 s).
double TimeOneStart(const char* program) {
  char commandLine[MAX_PATH + 2];
  std::snprintf(commandLine, sizeof commandLine, "\"%s\"", program);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process = {};
  LARGE_INTEGER start, now;
  QueryPerformanceCounter(&start);
  if (!CreateProcessA(nullptr, commandLine, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    return -1.0;
  }
  double elapsed = -1.0;
  for (;;) {
    Search search = {process.dwProcessId, false};
    EnumWindows(FindVisibleDialog, reinterpret_cast<LPARAM>(&search));
    QueryPerformanceCounter(&now);
    if (search.found) {
      elapsed = Seconds(start, now);
      break;
    }
    if (Seconds(start, now) > 10.0) break;
    Sleep(0);
  }
  TerminateProcess(process.hProcess, 0);
  WaitForSingleObject(process.hProcess, 10000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return elapsed;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t n = values.size();
  return n % 2 ? values[n / 2] : 0.5 * (values[n / 2 - 1] + values[n / 2]);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: startup_timer RUNS BASELINE.exe PROGRAM.exe [...]\n");
    return 2;
  }
  const int runs = std::max(1, std::atoi(argv[1]));
  const int programs = argc - 2;
  std::vector<std::vector<double>> times(programs);
  for (int p = 0; p < programs; ++p) TimeOneStart(argv[2 + p]);  // warm-up
  for (int run = 0; run < runs; ++run) {
    for (int p = 0; p < programs; ++p) {
      const double t = TimeOneStart(argv[2 + p]);
      if (t < 0) {
        std::fprintf(stderr, "%s showed no dialog\n", argv[2 + p]);
        return 1;
      }
      times[p].push_back(t);
    }
  }
  const double baseline = Median(times[0]);
  for (int p = 0; p < programs; ++p) {
    const double median = Median(times[p]);
    std::printf("%-28s median %6.1f ms  min %6.1f ms  ratio to baseline %.2f\n", argv[2 + p],
                1000.0 * median, 1000.0 * *std::min_element(times[p].begin(), times[p].end()),
                median / baseline);
  }
  return 0;
}
