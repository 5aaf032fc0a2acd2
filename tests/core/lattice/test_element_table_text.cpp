#include "core/lattice/ElementTable.h"
#include "core/lattice/ElementTableText.h"
#include "core/lattice/Lattice.h"

#include <gtest/gtest.h>

#include <clocale>

namespace tv {
namespace {

const char* const header =
    "Ratio,Cents,Exponents,Complexity,Limit,OLimit,ULimit,Note,Bend,Bend MSB,Bend LSB\r\n";

TEST(ElementTableText, CsvQuotesOnlyWhatNeedsItAndEndsRowsWithCrLf)
{
    ElementTableCells plain{"3:2", "701.955", "1 0 0 0 0", "x",  "3", "3",
                            "1",   "67",      "8272",      "64", "80"};
    ElementTableCells awkward{"a,b", "say \"hi\"", "two\nlines", "cr\r", "\"", "",
                              "",    "",           "",           "",     "z"};
    EXPECT_EQ(elementTableCsv({}), header);
    EXPECT_EQ(elementTableCsv({plain, awkward}),
              std::string(header) + "3:2,701.955,1 0 0 0 0,x,3,3,1,67,8272,64,80\r\n" +
                  "\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\",\"cr\r\",\"\"\"\",,,,,,z\r\n");
}

TEST(ElementTableText, TabTextKeepsItsColumnsWhateverTheCellsHold)
{
    ElementTableCells cells{"a\tb", "c\nd", "e\rf", "", "", "", "", "", "", "", "g"};
    EXPECT_EQ(elementTableTabText({cells}),
              "Ratio\tCents\tExponents\tComplexity\tLimit\tOLimit\tULimit\tNote\tBend\t"
              "Bend MSB\tBend LSB\n"
              "a b\tc d\te f\t\t\t\t\t\t\t\tg\n");
}

TEST(ElementTableText, DecimalsKeepTheirPointUnderADecimalCommaLocale)
{
    const std::string old = std::setlocale(LC_ALL, nullptr);
    const bool german = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    Lattice lattice;
    lattice.addRatio("", 3, 2);
    lattice.addCents("", -12.5);
    const std::string csv =
        elementTableCsv({elementTableRow(lattice, 0), elementTableRow(lattice, 1)});
    std::setlocale(LC_ALL, old.c_str());
    ASSERT_TRUE(german) << "the de_DE.UTF-8 locale is missing";
    EXPECT_NE(csv.find("\r\n3:2,701.955,1 0 0 0 0,"), std::string::npos) << csv;
    EXPECT_NE(csv.find("\r\n0:0,-12.500,0 0 0 0 0,"), std::string::npos) << csv;
}

}  // namespace
}  // namespace tv
