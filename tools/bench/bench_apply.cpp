// "Hide Selected" on the real registry against the bare calls it makes,
// measured side by side in alternating rounds.
#include <cstdio>

#include "bench_common.h"
#include "policy_store.h"
#include "win32_registry.h"

namespace {

using nimbrel::bench::Median;
using nimbrel::bench::Seconds;

class Boxes : public nimbrel::DriveBoxes {
public:
    std::int16_t Value(int index) const override { return index == 2 || index == 3; }
    std::string_view Tag(int index) const override { return {tags_[index], lengths_[index]}; }
    void SetTag(int index, std::string_view text) override {
        lengths_[index] = text.copy(tags_[index], sizeof tags_[index]);
    }

private:
    char tags_[nimbrel::kDriveCount][16] = {};
    std::size_t lengths_[nimbrel::kDriveCount] = {};
};

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
    nimbrel::Win32Registry registry;
    nimbrel::PolicyStore store(registry);
    Boxes boxes;
    std::vector<double> apply, bare;
    for (int round = 0; round < kRounds; ++round) {
        double start = Seconds();
        for (int i = 0; i < kPresses; ++i) store.ApplySelection(boxes);
        apply.push_back((Seconds() - start) / kPresses);
        start = Seconds();
        for (int i = 0; i < kPresses; ++i) BareWrite();
        bare.push_back((Seconds() - start) / kPresses);
    }
    const double a = Median(apply), b = Median(bare);
    std::printf(
        "| Hide Selected (ApplySelection) | %.1f us | bare registry calls | %.1f us | %.3f |\n",
        a * 1e6, b * 1e6, a / b);
    RegDeleteTreeA(HKEY_CURRENT_USER, R"(Software\Microsoft\Windows\CurrentVersion\Policies)");
    return 0;
}
