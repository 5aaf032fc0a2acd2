// tonalvane-cli play --wav: a script file rendered with the built-in synthesizer.

#include "core/synth/WavWriter.h"
#include "support/ScratchDirectory.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace tv {
namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct ScriptWavTest : ::testing::Test {
    test::ScratchDirectory scratch;
    std::filesystem::path directory = scratch.path();
};

// A fifth for 500 ms, a rest of 250 ms, then a seventh for one second.
constexpr const char* script = "PLAY *73 1/1 *73 3/2 500 MSEC REST 250 MSEC PLAY *73 7/4 1 SEC";

int runCli(const std::string& arguments)
{
    const int status = std::system((TONALVANE_CLI " " + arguments + " 2>/dev/null").c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST_F(ScriptWavTest, PlayWavRendersAScriptFileFromTheCommandLine)
{
    const auto scriptPath = directory / "fifth.txt";
    std::ofstream(scriptPath) << script << "\r\n";
    const auto wav = directory / "fifth.wav";
    ASSERT_EQ(runCli("play " + scriptPath.string() + " --wav " + wav.string() +
                     " --rate 22050 --float --repeat 2"),
              0);
    const Bytes file = readFile(wav);
    ASSERT_GE(file.size(), 58u);
    // Float samples at the chosen rate; twice the script's length and a short tail.
    // The frame count of the "fact" chunk.
    const std::uint32_t frames = file[46] | file[47] << 8 | file[48] << 16 | file[49] << 24;
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 58),
              wavHeader(22050, 2, WavSampleFormat::Float32, frames));
    EXPECT_GE(frames, 2 * 1750u * 22050 / 1000);
    EXPECT_LT(frames, 2 * 1750u * 22050 / 1000 + 22050);
    EXPECT_EQ(file.size(), 58 + 8u * frames);

    EXPECT_EQ(runCli("play " + scriptPath.string() + " --wav " +
                     (directory / "missing" / "x.wav").string()),
              1);
}

}  // namespace
}  // namespace tv
