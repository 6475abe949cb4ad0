// Start-up time (process start to its window shown and idle) and working
// set of a program against a minimal one, measured side by side.
#include <windows.h>
// psapi.h needs windows.h first.
#include <psapi.h>

#include <cstdio>
#include <string>

#include "bench_common.h"

namespace {

using nimbrel::bench::Median;
using nimbrel::bench::Seconds;

struct Sample {
    double seconds = 0;
    double working_set = 0;
};

Sample Start(const std::wstring& program) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    std::wstring line = L"\"" + program + L"\"";
    Sample sample;
    const double start = Seconds();
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return sample;
    WaitForInputIdle(process.hProcess, 10000);
    sample.seconds = Seconds() - start;
    PROCESS_MEMORY_COUNTERS memory = {};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory))
        sample.working_set = static_cast<double>(memory.WorkingSetSize);
    TerminateProcess(process.hProcess, 0);
    WaitForSingleObject(process.hProcess, 5000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return sample;
}

std::wstring Beside(const wchar_t* name) {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\') + 1) + name;
}

}  // namespace

int main() {
    constexpr int kRounds = 9;
    const std::wstring program = Beside(L"nimbrel.exe"), minimal = Beside(L"minimal_window.exe");
    std::vector<double> start_program, start_minimal, set_program, set_minimal;
    Start(program);  // the first start of each pays for loading from disk
    Start(minimal);
    for (int round = 0; round < kRounds; ++round) {
        const Sample a = Start(program), b = Start(minimal);
        start_program.push_back(a.seconds);
        start_minimal.push_back(b.seconds);
        set_program.push_back(a.working_set);
        set_minimal.push_back(b.working_set);
    }
    const double a = Median(start_program), b = Median(start_minimal);
    std::printf("| Start-up to idle window | %.1f ms | minimal Win32 window | %.1f ms | %.3f |\n",
                a * 1e3, b * 1e3, a / b);
    const double c = Median(set_program), d = Median(set_minimal);
    std::printf("| Working set after start | %.0f KiB | minimal Win32 window | %.0f KiB | %.3f |\n",
                c / 1024, d / 1024, c / d);
    return 0;
}
