#include "platform/NumberText.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "platform/DecimalSeparator.h"

using namespace platform;

class NumberTextTest : public ::testing::Test {
  protected:
    DecimalSeparatorGuard point_{'.'};
};

TEST_F(NumberTextTest, FixedRoundsPadsAndUsesTheSeparator) {
    EXPECT_EQ(FormatFixed(1.23456, 3), "1.235");
    EXPECT_EQ(FormatFixed(5.0, 8, 10), "5.00000000");
    EXPECT_EQ(FormatFixed(2.5, 3, 12), "       2.500");
    EXPECT_EQ(FormatFixed(-12345678901.25, 3, 12), "-12345678901.250");  // width is a minimum
    EXPECT_EQ(FormatFixed(-0.0001, 3), "0.000");
    EXPECT_EQ(FormatFixed(7, 0), "7");
    SetDecimalSeparator(',');
    EXPECT_EQ(FormatFixed(1.5, 2, 6), "  1,50");
}

// Fixed notation is built by integer arithmetic; it must give what printf gives (rounding exact
// halves to even), without the sign of a value that rounds to zero.
TEST_F(NumberTextTest, FixedMatchesPrintfWhateverTheValue) {
    std::mt19937_64 random(7);
    std::vector<double> values = {0.0625,
                                  0.1875,
                                  2.5,
                                  0.5,
                                  1.5,
                                  -0.0005,
                                  0.0005,
                                  2.0005,
                                  1.0005,
                                  5e-324,
                                  1e-300,
                                  123456789012.3456,
                                  9.2e18,
                                  1.8e19,
                                  1e22,
                                  -0.0,
                                  4503599627370495.5,
                                  5712345.678,
                                  3.4e38};
    for (int i = 0; i < 20000; ++i) {
        switch (i % 4) {
            case 0:  // any bits
                values.push_back(std::bit_cast<double>(random()));
                break;
            case 1:  // coordinates with up to 4 decimals, often exact halves
                values.push_back(static_cast<double>(random() % 100000000000) / 16.0 *
                                 (random() % 2 ? 1 : -1));
                break;
            case 2:  // singles, as heights and vectors are
                values.push_back(std::bit_cast<float>(static_cast<std::uint32_t>(random())));
                break;
            default:
                values.push_back(static_cast<double>(random() % 10000000) / 10000.0);
        }
    }
    for (double value : values) {
        for (int decimals : {0, 1, 3, 4, 8, 12, 18, 25}) {
            char expected[400];
            std::snprintf(expected, sizeof expected, "%.*f", decimals, value);
            std::string text = expected;
            if (text[0] == '-' && text.find_first_of("123456789") == std::string::npos)
                text.erase(0, 1);
            if (std::isnan(value)) text = "NAN";
            if (std::isinf(value)) text = value < 0 ? "-INF" : "INF";
            ASSERT_EQ(FormatFixed(value, decimals), text) << decimals << " " << value;
        }
    }
}

TEST_F(NumberTextTest, GeneralFormDropsZerosAndSwitchesToExponentAtTheLimits) {
    EXPECT_EQ(FormatGeneral(0.0), "0");
    EXPECT_EQ(FormatGeneral(12.0), "12");
    EXPECT_EQ(FormatGeneral(-2.5), "-2.5");
    EXPECT_EQ(FormatGeneral(5678901.25), "5678901.25");
    EXPECT_EQ(FormatGeneral(0.1), "0.1");
    EXPECT_EQ(FormatGeneral(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(FormatGeneral(0.00001), "0.00001");
    EXPECT_EQ(FormatGeneral(0.000015), "0.000015");
    EXPECT_EQ(FormatGeneral(0.0000015), "1.5E-6");
    EXPECT_EQ(FormatGeneral(123456789012345.0), "123456789012345");
    EXPECT_EQ(FormatGeneral(1234567890123456.0), "1.23456789012346E15");
    EXPECT_EQ(FormatGeneral(1e20), "1E20");
    EXPECT_EQ(FormatGeneral(-1.5e-7), "-1.5E-7");
    SetDecimalSeparator(',');
    EXPECT_EQ(FormatGeneral(2.75), "2,75");
}

TEST_F(NumberTextTest, StrictIntegerAcceptsOnlyBlanksSignAndDigits) {
    EXPECT_EQ(StrToIntStrict("12"), 12);
    EXPECT_EQ(StrToIntStrict("  -7"), -7);
    EXPECT_EQ(StrToIntStrict("+3"), 3);
    EXPECT_EQ(StrToIntStrict("-2147483648"), INT32_MIN);
    EXPECT_EQ(StrToIntStrict("2147483647"), INT32_MAX);
    for (const char* bad :
         {"", " ", "-", "1,5", "1.5", "12 ", "0x10", "2147483648", "1e3", "99999999999999999999"})
        EXPECT_FALSE(StrToIntStrict(bad).has_value()) << bad;
}

TEST_F(NumberTextTest, StrictRealFollowsTheGrammar) {
    EXPECT_EQ(StrToFloatStrict(" 5.250"), 5.25);
    EXPECT_EQ(StrToFloatStrict("-1e3"), -1000.0);
    EXPECT_EQ(StrToFloatStrict("+2.5E-1"), 0.25);
    EXPECT_EQ(StrToFloatStrict("7"), 7.0);
    EXPECT_EQ(StrToFloatStrict("5."), 5.0);
    EXPECT_EQ(StrToFloatStrict(".5"), 0.5);
    for (const char* bad : {"", "   ", "1,5", "5.2x", "1e", "e5", ".", "inf", "nan", "0x1p3", "1 2",
                            "--1", "+-1", "-+1", "1e999"})
        EXPECT_FALSE(StrToFloatStrict(bad).has_value()) << bad;
}

TEST_F(NumberTextTest, ScannerReadsBlankSeparatedTokensAndLeavesTheRest) {
    LineScanner s("*4101 1 7   0.50000000 #");
    EXPECT_EQ(s.Take(5), "*4101");
    EXPECT_EQ(s.ReadInteger(), 1);
    EXPECT_EQ(s.ReadInteger(), 7);
    EXPECT_EQ(s.ReadReal(), 0.5);
    EXPECT_EQ(s.Rest(), " #");
    EXPECT_FALSE(s.ReadReal().has_value());  // "#" is no number
    EXPECT_TRUE(s.AtEnd());
    EXPECT_EQ(s.ReadToken(), "");
}

// The scanner converts plain decimals itself; whatever the digits, it must give the bits the
// general conversion gives, and refuse what that refuses.
TEST_F(NumberTextTest, ScannerNumbersMatchTheGeneralConversion) {
    std::mt19937_64 random(20240518);
    std::vector<std::string> tokens = {"9007199254740992",
                                       "9007199254740993",
                                       "-0",
                                       "00000000000000000001.5",
                                       "0.1000000000000000000000",
                                       "0.10000000000000000000000",
                                       "4294967296",
                                       "-2147483649",
                                       "2147483648",
                                       "+12",
                                       "-",
                                       "1.2.3",
                                       "12-"};
    for (int i = 0; i < 20000; ++i) {
        std::string token = random() % 4 == 0 ? "-" : "";
        const auto integer = random() % 21;
        const auto fraction = random() % 4 == 0 ? random() % 26 : random() % 4;
        for (std::uint64_t d = 0; d < integer; ++d) token += static_cast<char>('0' + random() % 10);
        if (fraction > 0 || random() % 8 == 0) token += '.';
        for (std::uint64_t d = 0; d < fraction; ++d)
            token += static_cast<char>('0' + random() % 10);
        if (!token.empty()) tokens.push_back(token);
    }
    for (const std::string& token : tokens) {
        const auto expected = StrToFloatStrictGeneral(token);
        const auto direct = StrToFloatStrict(token);
        const std::string line = " " + token + "\t7";
        LineScanner scan(line);
        const auto scanned = scan.ReadReal();
        ASSERT_EQ(direct.has_value(), expected.has_value()) << token;
        ASSERT_EQ(scanned.has_value(), expected.has_value()) << token;
        if (expected) {
            EXPECT_EQ(std::bit_cast<std::uint64_t>(*direct),
                      std::bit_cast<std::uint64_t>(*expected))
                << token;
            EXPECT_EQ(std::bit_cast<std::uint64_t>(*scanned),
                      std::bit_cast<std::uint64_t>(*expected))
                << token;
        }
        EXPECT_EQ(scan.ReadInteger(), 7) << token;
        LineScanner integer(token);
        EXPECT_EQ(integer.ReadInteger(), StrToIntStrict(token)) << token;
    }
}

TEST(DecimalSeparator, GuardRestoresThePreviousValue) {
    const char before = GetDecimalSeparator();
    {
        DecimalSeparatorGuard guard(before == ',' ? '.' : ',');
        EXPECT_NE(GetDecimalSeparator(), before);
    }
    EXPECT_EQ(GetDecimalSeparator(), before);
}
