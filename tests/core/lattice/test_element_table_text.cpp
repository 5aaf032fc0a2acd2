#include "core/lattice/ElementTableText.h"

#include <gtest/gtest.h>

namespace tv {
namespace {

const char* const header = "Ratio,Cents,Exponents,Complexity,Tenney height,Limit,OLimit,ULimit,"
                           "Note,Bend,Bend MSB,Bend LSB,Higher primes\r\n";

TEST(ElementTableText, CsvQuotesOnlyWhatNeedsItAndEndsRowsWithCrLf)
{
    ElementTableCells plain{"3:2", "701.955", "1 0 0 0 0", "x",  "2.585", "3",         "3",
                            "1",   "67",      "8272",      "64", "80",    "17:1 19:-1"};
    ElementTableCells awkward{"a,b", "say \"hi\"", "two\nlines", "cr\r", "\"", "", "",
                              "",    "",           "",           "",     "",   "z"};
    EXPECT_EQ(elementTableCsv({}), header);
    EXPECT_EQ(elementTableCsv({plain, awkward}),
              std::string(header) +
                  "3:2,701.955,1 0 0 0 0,x,2.585,3,3,1,67,8272,64,80,17:1 19:-1\r\n" +
                  "\"a,b\",\"say \"\"hi\"\"\",\"two\nlines\",\"cr\r\",\"\"\"\",,,,,,,,z\r\n");
}

TEST(ElementTableText, TabTextKeepsItsColumnsWhateverTheCellsHold)
{
    ElementTableCells cells{"a\tb", "c\nd", "e\rf", "", "", "", "", "", "", "", "", "", "g"};
    EXPECT_EQ(elementTableTabText({cells}),
              "Ratio\tCents\tExponents\tComplexity\tTenney height\tLimit\tOLimit\tULimit\tNote\t"
              "Bend\tBend MSB\tBend LSB\tHigher primes\n"
              "a b\tc d\te f\t\t\t\t\t\t\t\t\t\tg\n");
}

}  // namespace
}  // namespace tv
