#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <string_view>

namespace tv::test {

// Set (to anything but "0") by the CI run: there a test whose tool or resource is missing
// fails instead of skipping, so that a green run means every test ran.
inline bool strictTests()
{
    const char* value = std::getenv("TONALVANE_STRICT_TESTS");
    return value && *value && std::string_view(value) != "0";
}

// True when `program` is found on the search path.
inline bool haveProgram(const std::string& program)
{
    return std::system(("command -v '" + program + "' >/dev/null 2>&1").c_str()) == 0;
}

}  // namespace tv::test

// Ends the test when `present` is false: a skip naming `missing`, or a failure naming it under
// TONALVANE_STRICT_TESTS. For test bodies and other functions that return nothing.
#define TV_NEEDS(present, missing)                                                                 \
    do {                                                                                           \
        if (!(present)) {                                                                          \
            if (::tv::test::strictTests())                                                         \
                GTEST_FAIL() << "missing, and TONALVANE_STRICT_TESTS is set: " << (missing);       \
            else                                                                                   \
                GTEST_SKIP() << "missing: " << (missing);                                          \
        }                                                                                          \
    } while (false)
