// Start-up time (process start to its window shown and idle) and working
// set of the program against two baselines, measured side by side: a minimal
// window, and the floor program with the same window and controls.
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
    constexpr int kRounds = 21;
    const std::wstring programs[] = {Beside(L"nimbrel.exe"), Beside(L"minimal_window.exe"),
                                     Beside(L"floor_window.exe")};
    std::vector<double> seconds[3], working_sets[3];
    for (const auto& program : programs) Start(program);  // the first start pays for the disk
    for (int round = 0; round < kRounds; ++round) {
        for (int i = 0; i < 3; ++i) {
            const Sample sample = Start(programs[i]);
            seconds[i].push_back(sample.seconds);
            working_sets[i].push_back(sample.working_set);
        }
    }
    const double program = Median(seconds[0]);
    const char* names[] = {"", "minimal Win32 window", "floor: same window and controls, no logic"};
    for (int i = 1; i < 3; ++i) {
        std::printf("| Start-up to idle window | %.1f ms | %s | %.1f ms | %.3f |\n", program * 1e3,
                    names[i], Median(seconds[i]) * 1e3, program / Median(seconds[i]));
    }
    const double set = Median(working_sets[0]), minimal_set = Median(working_sets[1]);
    std::printf("| Working set after start | %.0f KiB | %s | %.0f KiB | %.3f |\n", set / 1024,
                names[1], minimal_set / 1024, set / minimal_set);
    return 0;
}
