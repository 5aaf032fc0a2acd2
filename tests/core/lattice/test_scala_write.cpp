#include "support/ScratchDirectory.h"

#include "core/lattice/Lattice.h"
#include "core/lattice/ScalaFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <clocale>
#include <cmath>
#include <system_error>

namespace tv {
namespace {

namespace fs = std::filesystem;
using test::readBytes;
using test::ScratchDirectory;
using test::writeBytes;

Lattice mixedLattice()
{
    Lattice lattice;
    lattice.setTitle("Mixed \xe9 pitches ");
    lattice.addRatio("fifth", 3, 2);
    lattice.addCents("", 701.955);
    lattice.addCents("", -5.0);
    lattice.addCents("", 2.5);
    lattice.addRatio("", 4294967295u, 1);
    return lattice;
}

// ": " and the system's words for `error`, as a failed save ends its message.
std::string because(int error) { return ": " + std::generic_category().message(error); }

TEST(ScalaWrite, BytesOfTheFile)
{
    ScratchDirectory dir;
    const std::string path = dir.file("mixed.scl");
    const FileResult r = mixedLattice().writeScala(path);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(readBytes(path), "!mixed.scl\r\n"
                               "!\r\n"
                               "Mixed \xe9 pitches \r\n"
                               "  5\r\n"
                               "!\r\n"
                               " 3/2\r\n"
                               "701.955000 cents\r\n"
                               "-5.000000 cents\r\n"
                               "2.500000 cents\r\n"
                               " 4294967295/1\r\n");
}

TEST(ScalaWrite, FileNameComesAfterEitherSeparatorAndCountsWiden)
{
    Lattice lattice;
    EXPECT_EQ(scalaFileText(lattice.toScale(), "C:\\scales\\old.scl"),
              "!old.scl\r\n!\r\n\r\n  0\r\n!\r\n");
    EXPECT_EQ(scalaFileText(lattice.toScale(), "a\\b/c.scl").substr(0, 8), "!c.scl\r\n");
    EXPECT_EQ(scalaFileText(lattice.toScale(), "bare"), "!bare\r\n!\r\n\r\n  0\r\n!\r\n");
    lattice.setStyle(1);
    for (int i = 0; i < 1000; ++i)
        lattice.addRatio("", 9, 8);
    EXPECT_EQ(scalaFileText(lattice.toScale(), "x").substr(0, 15), "!x\r\n!\r\n\r\n1000\r\n");
}

TEST(ScalaWrite, TypedTitlesStillReadBackAsTheDescription)
{
    Lattice lattice;
    lattice.addRatio("", 3, 2);
    for (const std::string title : {"two\nlines", "!bang"}) {
        lattice.setTitle(title);
        Lattice back;
        const Scale scale = parseScala(scalaFileText(lattice.toScale(), "t.scl"));
        ASSERT_TRUE(scale.ok()) << title;
        back.loadScale(scale);
        EXPECT_EQ(back.count(), 1);
    }
    EXPECT_EQ(lattice.title(), "!bang");
}

TEST(ScalaWrite, NumbersIgnoreADecimalCommaLocale)
{
    const std::string saved = std::setlocale(LC_ALL, nullptr);
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr);
    const std::string text = scalaFileText(mixedLattice().toScale(), "m.scl");
    Lattice back;
    const Scale scale = parseScala(text);
    back.loadScale(scale);
    const FileResult r = scale.result();
    std::setlocale(LC_ALL, saved.c_str());
    EXPECT_NE(text.find("701.955000 cents"), std::string::npos);
    EXPECT_TRUE(r.ok) << r.message;
    EXPECT_EQ(back.cents(1), 701.955);
}

TEST(ScalaWrite, WhatIsWrittenReadsBackTheSame)
{
    ScratchDirectory dir;
    Lattice original = mixedLattice();
    original.addCents("", 100.123456789);
    original.addCents("", 0.0);
    original.addRatio("", 65539, 65536);
    original.addRatio("", 2, 1);
    // Saved under a name without ".scl": still readable.
    const std::string path = dir.file("saved scale");
    ASSERT_TRUE(original.writeScala(path).ok);

    Lattice back;
    back.setTitle("other");
    const FileResult r = back.readScala(path);
    ASSERT_TRUE(r.ok) << r.message;
    EXPECT_EQ(back.title(), original.title());
    ASSERT_EQ(back.count(), original.count());
    for (int i = 0; i < original.count(); ++i) {
        EXPECT_EQ(back.numerator(i), original.numerator(i)) << i;
        EXPECT_EQ(back.denominator(i), original.denominator(i)) << i;
        EXPECT_NEAR(back.cents(i), original.cents(i), 5.01e-7) << i;
        EXPECT_EQ(back.name(i), "") << i;
    }
    // 2.5 cents stays 2.5 cents rather than turning into the octave.
    EXPECT_FALSE(back.element(3)->isRatio());
    // And the copy writes the same bytes again.
    const std::string again = dir.file("again");
    ASSERT_TRUE(back.writeScala(again).ok);
    EXPECT_EQ(readBytes(again).substr(8), readBytes(path).substr(14));
}

TEST(ScalaWrite, LongPathsAreKeptWhole)
{
    ScratchDirectory dir;
    fs::path deep = dir.path();
    for (int i = 0; i < 6; ++i)
        deep /= std::string(150, static_cast<char>('a' + i));
    fs::create_directories(deep);
    const std::string path = (deep / (std::string(200, 'z') + ".scl")).string();
    ASSERT_GT(path.size(), 1000u);
    ASSERT_TRUE(mixedLattice().writeScala(path).ok);
    Lattice back;
    EXPECT_TRUE(back.readScala(path).ok);
    EXPECT_EQ(back.count(), 5);
    EXPECT_EQ(readBytes(path).substr(0, 207), "!" + std::string(200, 'z') + ".scl\r\n");

    const std::string missing = path + ".missing/x.scl";
    EXPECT_EQ(mixedLattice().writeScala(missing).message,
              "Unable to open " + missing + because(ENOENT));
    EXPECT_EQ(back.readScala(missing).message, "Unable to open " + missing);
}

TEST(ScalaWrite, LinksAndPermissionsOfTheTargetSurvive)
{
    ScratchDirectory dir;
    const std::string real = dir.file("real.scl");
    const std::string link = dir.file("link.scl");
    writeBytes(real, "old\n");
    fs::permissions(real, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(real, link);
    ASSERT_TRUE(mixedLattice().writeScala(link).ok);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readBytes(real).substr(0, 11), "!link.scl\r\n");
    EXPECT_EQ(fs::status(real).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
}

}  // namespace
}  // namespace tv
