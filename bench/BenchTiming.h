#pragma once

#include "core/pitch/NumberText.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

namespace tv::bench {

inline std::string whole(std::uint64_t v) { return formatFixed(static_cast<double>(v), 0); }

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds of each of `runs` calls of `work`.
template <typename Work>
std::vector<double> timeRuns(int runs, Work work)
{
    std::vector<double> ms;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        work();
        const auto end = std::chrono::steady_clock::now();
        ms.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    return ms;
}

// "what: median M ms, min A ms, max B ms (N runs)".
inline void reportRuns(const char* what, const std::vector<double>& ms, int decimals)
{
    std::cout << what << ": median " << formatFixed(median(ms), decimals) << " ms, min "
              << formatFixed(*std::min_element(ms.begin(), ms.end()), decimals) << " ms, max "
              << formatFixed(*std::max_element(ms.begin(), ms.end()), decimals) << " ms ("
              << whole(ms.size()) << " runs)\n";
}

}  // namespace tv::bench
