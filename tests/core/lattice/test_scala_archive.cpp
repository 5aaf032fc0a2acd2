#include "support/ScratchDirectory.h"

#include "core/lattice/Lattice.h"
#include "core/lattice/ScalaFile.h"
#include "core/pitch/NumberText.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <sstream>
#include <vector>

namespace tv {
namespace {

// Files of the public scale archive, kept in the tests as distributed.
const std::string scalesDir = TONALVANE_TEST_DATA_DIR "/scala/archive";

namespace fs = std::filesystem;

// Figures of the real scale files, worked out with arbitrary precision from the files' text:
// the number of pitches, the sum of their sizes in cents, and the first and last pitch.
struct KnownScale {
    int count;
    double totalCents;
    const char* first;
    const char* last;
};

const std::map<std::string, KnownScale>& knownScales()
{
    static const std::map<std::string, KnownScale> scales{
        {"05-22.scl", {5, 3709.09091, "272.72727", "2/1"}},
        {"12-yarman24a.scl", {12, 7694.1464859988948, "84.36000", "2/1"}},
        {"13-31.scl", {13, 9096.7742, "154.83871", "2/1"}},
        {"15-46.scl", {15, 9521.739131, "78.260870", "2/1"}},
        {"aeu-41.scl", {41, 25200.677746042598, "531441/524288", "2/1"}},
        {"al-din.scl", {35, 45157.874848557202, "256/243", "1024/243"}},
        {"alembert-rousseau.scl", {12, 7687.5765538648348, "86.31371", "2/1"}},
        {"amogussussybaka.scl", {6, 3720.16400554254, "8/7", "2/1"}},
        {"arist_chrominv.scl", {7, 5200.0, "300.000", "2/1"}},
        {"atomschis.scl",
         {12, 7799.9923195352804, "156348578434374084375/147573952589676412928", "2/1"}},
        {"canou9-410.scl", {9, 5783.4146341501, "61.4634146341", "2/1"}},
        {"carlos_alpha.scl", {18, 13338.0, "78.00000", "1404.00000"}},
        {"cet182a.scl", {14, 19152.389774076298, "10/9", "100000000000000/22876792454961"}},
        {"chin_shierlu.scl", {12, 7881.3635798913994, "2187/2048", "2/1"}},
        {"chrys_diat-1st-ji.scl", {7, 4693.4541135397117, "12/11", "2/1"}},
        {"dekany_agni.scl", {16, -5370.671146786829, "25/2", "2/1"}},
        {"dudon_amlak.scl", {12, 7703.3143316132055, "1/1", "2/1"}},
        {"egads.scl", {441, 265319.68891, "2.69039", "2/1"}},
        {"fj-31tet.scl", {31, 19198.778316296777, "45/44", "2/1"}},
        {"gann_wolfe.scl", {579, 337440.18903032433, "32805/32768", "2/1"}},
        {"harrison_8.scl", {8, 5186.3137138648348, "16/15", "2/1"}},
        {"johnston.scl", {12, 7753.0722987659824, "135/128", "2/1"}},
        {"kai-metalbar.scl", {21, 19319.81584, "191.29936", "1756.34695"}},
        {"keenan5.scl", {31, 19211.563997906018, "36.19153216", "2/1"}},
        {"keenan6.scl", {31, 19199.9999989, "115.9584761", "2/1"}},
        {"mavila12.scl", {12, 7278.80854, "-30.99719", "1206.54826"}},
        {"meanquar.scl", {12, 7697.3528515945045, "76.04900", "2/1"}},
        {"partch_43.scl", {43, 26400.0, "81/80", "2/1"}},
        {"pelogic2.scl", {12, 6291.08516, "-60.03642", "2/1"}},
        {"pepper_meantone-killer.scl", {15, 9510.0, "67.", "2/1"}},
        {"ptolemy.scl", {7, 4962.8511433252793, "9/8", "2/1"}},
        {"pyth_12.scl", {12, 7858.6500259616225, "2187/2048", "2/1"}},
        {"shrutar.scl", {22, 13643.010022980811, "33/32", "2/1"}},
        {"wilson1.scl", {19, 12094.132437248931, "25/24", "2/1"}},
        {"young-lm_piano.scl", {12, 7931.881800540985, "567/512", "2/1"}},
    };
    return scales;
}

double sizeOf(const Lattice& lattice, int i)
{
    const auto& e = *lattice.element(i);
    return e.isRatio() ? ratioCents(e.numerator, e.denominator) : e.cents;
}

// Compares one element with a pitch as the file writes it.
void expectPitch(const Lattice& lattice, int i, const std::string& text, const std::string& file)
{
    SCOPED_TRACE(file + " pitch " + std::to_string(i) + " " + text);
    const auto& e = *lattice.element(i);
    if (text.find('.') != std::string::npos) {
        ASSERT_FALSE(e.isRatio());
        EXPECT_EQ(e.cents, parseDouble(text).value_or(-1e9));
        return;
    }
    const auto slash = text.find('/');
    const std::string n = text.substr(0, slash);
    const std::string d = text.substr(slash + 1);
    if (n.size() > 10 || d.size() > 10) {
        EXPECT_FALSE(e.isRatio());  // its size is checked through the total
        return;
    }
    ASSERT_TRUE(e.isRatio());
    EXPECT_EQ(std::to_string(e.numerator), n);
    EXPECT_EQ(std::to_string(e.denominator), d);
}

void expectSameElements(const Lattice& a, const Lattice& b, double centsTolerance,
                        const std::string& what)
{
    SCOPED_TRACE(what);
    EXPECT_EQ(a.title(), b.title());
    ASSERT_EQ(a.count(), b.count());
    for (int i = 0; i < a.count(); ++i) {
        EXPECT_EQ(a.numerator(i), b.numerator(i)) << i;
        EXPECT_EQ(a.denominator(i), b.denominator(i)) << i;
        EXPECT_NEAR(a.cents(i), b.cents(i), centsTolerance) << i;
        EXPECT_EQ(a.plotX(i), b.plotX(i)) << i;
        EXPECT_EQ(a.plotY(i), b.plotY(i)) << i;
    }
}

std::string withLfLineEnds(const std::string& bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;
        out += bytes[i];
    }
    return out;
}

std::vector<fs::path> archiveFiles()
{
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(scalesDir)) {
        std::string ext = entry.path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (entry.is_regular_file() && ext == ".scl")
            files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    return files;
}

TEST(ScalaArchive, EveryFileOpensWithItsPitchesWithEitherLineEnd)
{
    ASSERT_TRUE(fs::is_directory(scalesDir))
        << "the scale archive folder " << scalesDir << " is missing";
    int tested = 0;
    std::size_t known = 0;
    int withCrLf = 0;
    for (const auto& path : archiveFiles()) {
        const std::string file = path.filename().string();
        SCOPED_TRACE(file);
        Lattice lattice;
        const FileResult r = lattice.readScala(path.string());
        ++tested;
        EXPECT_TRUE(r.ok) << r.message;
        EXPECT_GT(lattice.count(), 0);

        const auto it = knownScales().find(file);
        if (it != knownScales().end() && lattice.count() > 0) {
            ++known;
            const KnownScale& k = it->second;
            EXPECT_EQ(lattice.count(), k.count);
            double total = 0.0;
            for (int i = 0; i < lattice.count(); ++i)
                total += sizeOf(lattice, i);
            EXPECT_NEAR(total, k.totalCents, 1e-6);
            expectPitch(lattice, 0, k.first, file);
            expectPitch(lattice, lattice.count() - 1, k.last, file);
        }

        // The same bytes with LF line ends read the same.
        const std::string bytes = test::readBytes(path.string());
        withCrLf += bytes.find("\r\n") != std::string::npos;
        Lattice lf;
        std::istringstream lfText(withLfLineEnds(bytes));
        const Scale lfScale = parseScala(lfText);
        lf.loadScale(lfScale);
        const FileResult lfResult = lfScale.result();
        EXPECT_EQ(lfResult.ok, r.ok) << lfResult.message;
        expectSameElements(lattice, lf, 0.0, "LF line ends");

        // And what the program writes reads back to the same elements.
        Lattice back;
        const Scale written = parseScala(scalaFileText(lattice.toScale(), file));
        EXPECT_TRUE(written.ok());
        back.loadScale(written);
        // Six decimals: half a unit of the last one, and a hair for the binary fractions.
        expectSameElements(lattice, back, 5.01e-7, "written and read back");
    }
    EXPECT_GT(tested, 0) << "no .scl file in " << scalesDir;
    EXPECT_EQ(known, knownScales().size()) << "a file with known figures is missing";
    // A checkout that turned CR LF into LF would leave the distributed line ends untested.
    EXPECT_GT(withCrLf, 0) << "no archive file has CR LF line ends";
    std::cout << "[ scales   ] " << tested << " archive files read, " << known
              << " checked against their known figures\n";
}

}  // namespace
}  // namespace tv
