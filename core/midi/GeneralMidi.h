#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>

namespace tv {

// A family of eight General MIDI programs, or "ALL"; both bounds are included.
struct GmGroup {
    const char* name;
    int first;
    int last;
};

// "ALL" first, then the sixteen families in program order.
extern const std::array<GmGroup, 17> gmGroups;

// The General MIDI instrument names, indexed by program number 0..127.
extern const std::array<const char*, 128> gmProgramNames;

// The programs of the group called `name` (letter case ignored), searched from "ALL" down;
// (-1, -1) when no group has that name.
std::pair<int, int> findGroup(std::string_view name);

// The instrument name of a program; empty for numbers outside 0..127.
std::string programName(int number);

}  // namespace tv
