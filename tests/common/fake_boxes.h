#pragma once

#include <array>
#include <initializer_list>
#include <string>
#include <vector>

#include "drive_mask.h"

namespace nimbrel::testing {

// Drive boxes held in arrays, logging each tag access as "set N" or "get N".
class FakeBoxes : public DriveBoxes {
public:
    FakeBoxes() = default;
    explicit FakeBoxes(std::initializer_list<int> ticked) {
        for (const int i : ticked) values[i] = kTicked;
    }

    std::int16_t Value(int index) const override { return values[index]; }
    std::string_view Tag(int index) const override {
        log.push_back("get " + std::to_string(index));
        return tags[index];
    }
    void SetTag(int index, std::string_view text) override {
        log.push_back("set " + std::to_string(index));
        tags[index] = text;
    }

    std::array<std::int16_t, kDriveCount> values{};
    std::array<std::string, kDriveCount> tags{};
    mutable std::vector<std::string> log;
};

}  // namespace nimbrel::testing
