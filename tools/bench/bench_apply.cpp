// "Hide Selected" on the real registry against the bare calls it makes,
// measured side by side in alternating rounds.
#include <cstdio>

#include "bench_common.h"
#include "policy_store.h"

namespace {

using nimbrel::bench::Median;
using nimbrel::bench::Seconds;

// What no implementation can beat: the three calls of a write, inline.
void BareWrite() {
    HKEY key = nullptr;
    RegCreateKeyA(HKEY_CURRENT_USER,
                  R"(Software\Microsoft\Windows\CurrentVersion\Policies\Explorer)", &key);
    const DWORD mask = 12;
    RegSetValueExA(key, "NoDrives", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&mask),
                   sizeof mask);
    RegCloseKey(key);
}

}  // namespace

int main() {
    constexpr int kRounds = 15;
    constexpr int kPresses = 400;
    nimbrel::BoxValues values{};
    values[2] = values[3] = nimbrel::kTicked;
    nimbrel::BoxTags tags{};
    std::vector<double> apply, bare;
    for (int round = 0; round < kRounds; ++round) {
        double start = Seconds();
        for (int i = 0; i < kPresses; ++i) {
            // What the "Hide Selected" handler does once it has read the boxes.
            const auto mask = nimbrel::ComputeDriveMask(values, tags);
            if (mask) *mask == 0 ? nimbrel::RemoveValue() : nimbrel::WriteMask(*mask);
        }
        apply.push_back((Seconds() - start) / kPresses);
        start = Seconds();
        for (int i = 0; i < kPresses; ++i) BareWrite();
        bare.push_back((Seconds() - start) / kPresses);
    }
    const double a = Median(apply), b = Median(bare);
    std::printf(
        "| Hide Selected (mask and write) | %.1f us | bare registry calls | %.1f us | %.3f |\n",
        a * 1e6, b * 1e6, a / b);
    RegDeleteTreeA(HKEY_CURRENT_USER, R"(Software\Microsoft\Windows\CurrentVersion\Policies)");
    return 0;
}
