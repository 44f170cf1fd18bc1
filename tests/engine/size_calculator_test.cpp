#include "engine/size_calculator.h"

#include <gtest/gtest.h>

namespace pelvano {
namespace {

using Writes = std::vector<std::pair<SizeField, std::string>>;

SizeTexts Texts(std::string width, std::string height, std::string columns, std::string rows,
                std::string crossWidth = "1,7", std::string crossHeight = "1,7") {
    return {std::move(width), std::move(height),     std::move(columns),
            std::move(rows),  std::move(crossWidth), std::move(crossHeight)};
}

TEST(SizeCalculator, FirstStartDefaults) {
    const SizeCalculation calc = RecalcSizes(1, Texts("150", "150", "150", "150"), 1.0L);
    ASSERT_TRUE(calc.ok());
    EXPECT_EQ(
        calc.writes,
        (Writes{{SizeField::Height, "150"}, {SizeField::Columns, "88"}, {SizeField::Rows, "88"}}));
    EXPECT_EQ(calc.columnCount, 88);
    EXPECT_EQ(calc.rowCount, 88);
    EXPECT_EQ(calc.crossWidth, 1.7L);
    EXPECT_EQ(calc.crossCountLabel, "Крестиков: 7.744");
    // 88 crosses of 1.7 mm cover 149.6 mm, shown as 150.
    EXPECT_EQ(calc.widthLabel, "Ширина: 150 мм");
    EXPECT_EQ(calc.heightLabel, "Высота: 150 мм");
}

TEST(SizeCalculator, EachMasterDerivesTheOthersFromRoundedValues) {
    // A 640 x 480 picture at 200 mm with 2.5 mm crosses.
    SizeCalculation calc = RecalcSizes(1, Texts("200", "", "", "", "2,5", "2,5"), 640.0L / 480);
    ASSERT_TRUE(calc.ok());
    EXPECT_EQ(
        calc.writes,
        (Writes{{SizeField::Height, "150"}, {SizeField::Columns, "80"}, {SizeField::Rows, "60"}}));
    EXPECT_EQ(calc.crossCountLabel, "Крестиков: 4.800");

    // Rows master on a 300 x 400 picture: the width comes from the rounded height (150 * 0.75 =
    // 112.5 -> 113) and the columns from the rounded width (113 / 1.7 = 66.47 -> 66).
    calc = RecalcSizes(4, Texts("", "", "", "100", "1,7", "1,5"), 0.75L);
    ASSERT_TRUE(calc.ok());
    EXPECT_EQ(calc.writes, (Writes{{SizeField::Height, "150"},
                                   {SizeField::Width, "113"},
                                   {SizeField::Columns, "66"}}));
    EXPECT_EQ(calc.widthLabel, "Ширина: 112 мм"); // 66 * 1.7 = 112.2

    // Halves round up, not to the even neighbour: 125 / 2 = 62.5 -> 63.
    calc = RecalcSizes(1, Texts("125", "", "", "", "2", "2"), 1.0L);
    ASSERT_TRUE(calc.ok());
    EXPECT_EQ(calc.columnCount, 63);

    // Height master on a wide picture.
    calc = RecalcSizes(2, Texts("", "100", "", "", "1", "2"), 1.5L);
    ASSERT_TRUE(calc.ok());
    EXPECT_EQ(
        calc.writes,
        (Writes{{SizeField::Width, "150"}, {SizeField::Columns, "150"}, {SizeField::Rows, "50"}}));

    // Columns master at the largest count the field takes; the product needs 64 bits.
    calc = RecalcSizes(3, Texts("", "", "99999", "", "1", "1"), 1.0L);
    ASSERT_TRUE(calc.ok());
    EXPECT_EQ(calc.writes, (Writes{{SizeField::Width, "99999"},
                                   {SizeField::Height, "99999"},
                                   {SizeField::Rows, "99999"}}));
    EXPECT_EQ(calc.crossCountLabel, "Крестиков: 9.999.800.001");
    EXPECT_EQ(calc.widthLabel, "Ширина: 99.999 мм");
}

TEST(SizeCalculator, ZeroMasterGivesZeroEverywhere) {
    const SizeCalculation calc = RecalcSizes(1, Texts("0", "150", "88", "88"), 1.0L);
    ASSERT_TRUE(calc.ok());
    EXPECT_EQ(
        calc.writes,
        (Writes{{SizeField::Height, "0"}, {SizeField::Columns, "0"}, {SizeField::Rows, "0"}}));
    EXPECT_EQ(calc.crossCountLabel, "Крестиков: 0");
    EXPECT_EQ(calc.widthLabel, "Ширина: 0 мм");
}

TEST(SizeCalculator, ConversionErrorKeepsEarlierWritesAndPublishesNothing) {
    // The height is written before the unreadable cross width is reached.
    SizeCalculation calc = RecalcSizes(1, Texts("150", "1", "2", "3", "1x", "1,7"), 1.0L);
    EXPECT_EQ(calc.error, "'1x' is not a valid floating point value");
    EXPECT_EQ(calc.writes, (Writes{{SizeField::Height, "150"}}));
    EXPECT_EQ(calc.crossCountLabel, "");
    EXPECT_EQ(calc.columnCount, 0);

    // An empty master (a cross size changed while the master field is empty).
    calc = RecalcSizes(3, Texts("150", "150", "", "88"), 1.0L);
    EXPECT_EQ(calc.error, "'' is not a valid integer value");
    EXPECT_TRUE(calc.writes.empty());

    // Of two unreadable fields the one read first is reported: the master, then the cross.
    calc = RecalcSizes(3, Texts("", "", "x", "", "y", "1"), 1.0L);
    EXPECT_EQ(calc.error, "'x' is not a valid integer value");

    // A restored size text that is not a number, read by the last step.
    calc = RecalcSizes(4, Texts("1", "2", "3", "abc"), 1.0L);
    EXPECT_EQ(calc.error, "'abc' is not a valid integer value");

    // Unknown master: nothing derived, the fields as they stand are published.
    calc = RecalcSizes(7, Texts("1", "2", "30", "40"), 1.0L);
    ASSERT_TRUE(calc.ok());
    EXPECT_TRUE(calc.writes.empty());
    EXPECT_EQ(calc.columnCount, 30);
    EXPECT_EQ(calc.rowCount, 40);
}

TEST(SizeCalculator, CountsThatDoNotFitAreRefusedNotWrapped) {
    // A huge restored width over a zero cross (which the normalisation normally prevents).
    SizeCalculation calc = RecalcSizes(1, Texts("2000000000", "", "", "", "0,01", "1"), 1.0L);
    ASSERT_FALSE(calc.ok());
    EXPECT_EQ(calc.writes, (Writes{{SizeField::Height, "2000000000"}}));
    calc = RecalcSizes(1, Texts("150", "", "", "", "0", "1"), 1.0L);
    ASSERT_FALSE(calc.ok());
    calc = RecalcSizes(1, Texts("0", "", "", "", "0", "0"), 1.0L);
    ASSERT_FALSE(calc.ok());
}

TEST(SizeCalculator, NumberTexts) {
    EXPECT_EQ(GroupDigits("7744"), "7.744");
    EXPECT_EQ(GroupDigits("1234567"), "1.234.567");
    EXPECT_EQ(GroupDigits("123"), "123");
    EXPECT_EQ(GroupDigits(""), "");
    EXPECT_EQ(GroupDigits("123456"), "123.456");
    EXPECT_EQ(GroupDigits("-123456"), "-123.456");

    EXPECT_EQ(FormatCommaReal(1.7L), "1,7");
    EXPECT_EQ(FormatCommaReal(1.0L), "1");
    EXPECT_EQ(FormatCommaReal(0.01L), "0,01");
    EXPECT_EQ(CrossSizeText(170), "1,7");
    EXPECT_EQ(CrossSizeText(171), "1,71");
    EXPECT_EQ(CrossSizeText(1000), "10");
    EXPECT_EQ(CrossSizeText(1), "0,01");

    EXPECT_EQ(ParseCommaReal("1,"), 1.0L);
    EXPECT_EQ(ParseCommaReal(","), 0.0L);
    EXPECT_EQ(ParseCommaReal(",5"), 0.5L);
    EXPECT_EQ(ParseCommaReal("1,7"), 1.7L);
    EXPECT_EQ(ParseCommaReal("12"), 12.0L);
    for (const char* bad : {"", "1.7", "1,7,", "-1", " 1", "1e3", "x"}) {
        EXPECT_FALSE(ParseCommaReal(bad)) << bad;
    }
}

TEST(SizeCalculator, CrossSizeNormalisation) {
    struct Case {
        const char* typed;
        const char* shown;
        std::int32_t position;
    };
    for (const Case& c :
         {Case{"", "0,01", 1}, Case{"25", "10", 1000}, Case{",5", "0,5", 50}, Case{"0", "0,01", 1},
          Case{"1,", "1", 100}, Case{"1,7", "1,7", 170}, Case{"1,71", "1,71", 171},
          Case{"0,005", "0,01", 1}, Case{"99999999999999999999", "10", 1000}}) {
        const CrossSizeNormalisation n = NormaliseCrossSize(c.typed);
        ASSERT_TRUE(n.ok()) << c.typed;
        EXPECT_EQ(n.text, c.shown) << c.typed;
        EXPECT_EQ(n.hundredths, c.position) << c.typed;
        // Normalising what it shows changes nothing, so the field's own write ends the nesting.
        EXPECT_EQ(NormaliseCrossSize(n.text).text, n.text);
    }
    const CrossSizeNormalisation bad = NormaliseCrossSize("1;7");
    EXPECT_EQ(bad.error, "'1;7' is not a valid floating point value");

    // Numbers still being typed, which normalising would cut short, and numbers done.
    for (const char* typing : {"2,", ",", "0", "00", "0,", "1,0", ",0"})
        EXPECT_TRUE(IsUnfinishedCrossSize(typing)) << typing;
    for (const char* done : {"", "2", "2,5", "0,00", "1,05", "x,"})
        EXPECT_FALSE(IsUnfinishedCrossSize(done)) << done;
}

} // namespace
} // namespace pelvano
