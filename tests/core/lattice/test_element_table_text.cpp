#include "core/lattice/ElementTableText.h"

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tv
