#include <gtest/gtest.h>

#include "shape/BatchConvers.h"

namespace {

struct FieldDef {
    std::string name;
    char type;
    std::int32_t length;
    std::int32_t decimals;
};

FieldDef DefOf(const TBatchConvers& rule) {
    FieldDef def{};
    rule.GetFieldDef(def.name, def.type, def.length, def.decimals);
    return def;
}

void ExpectDef(std::string_view head, char type, std::int32_t length, std::int32_t decimals) {
    SCOPED_TRACE(std::string(head));
    FieldDef def = DefOf(TBatchConvers("F", std::string(head) + "$A1"));
    EXPECT_EQ(def.type, type);
    EXPECT_EQ(def.length, length);
    EXPECT_EQ(def.decimals, decimals);
}

const TBatchAttributes kAttributes = {"jeden", "dwa", "trzy", "cztery", "piec", "szesc"};

std::string Expand(std::string_view fieldTemplate, std::string_view text = "tekst") {
    return TBatchConvers("F", fieldTemplate).Expand(kAttributes, text);
}

}  // namespace

TEST(BatchConvers, HeadGivesTheFieldDefinition) {
    ExpectDef("!N10:2", 'N', 10, 2);
    ExpectDef("!D8:0", 'D', 8, 0);
    ExpectDef("!C:0", 'C', 100, 0);     // a length that is no number keeps 100
    ExpectDef("!N10", 'N', 100, 0);     // without ':' both keep their defaults
    ExpectDef("", 'C', 100, 0);         // no head
    ExpectDef("!", 'C', 100, 0);        // '!' alone keeps the type
    ExpectDef("!F12:x", 'F', 12, 0);    // decimals that are no number keep 0
    ExpectDef("!N10:2:3", 'N', 10, 0);  // everything after the first ':' is the decimals
    ExpectDef("!C255:0", 'C', 255, 0);
    // A dBase descriptor holds length and decimals in one byte each: anything else is refused.
    ExpectDef("!C300:0", 'C', 100, 0);
    ExpectDef("!N-5:-1", 'N', 100, 0);
    ExpectDef("!N99999999999999999999:2", 'N', 100, 2);

    FieldDef def = DefOf(TBatchConvers("NAZWA", "!C40:0$A1"));
    EXPECT_EQ(def.name, "NAZWA");
}

TEST(BatchConvers, HeadIsTakenOutOfTheTemplate) {
    EXPECT_EQ(TBatchConvers("F", "!C40:0$A1#32$A2").Template(), "$A1#32$A2");
    EXPECT_EQ(TBatchConvers("F", "$A1!N5:1$A2").Template(), "$A1$A2");
    EXPECT_EQ(TBatchConvers("F", "$A1!N5:1").Template(), "$A1");
    EXPECT_EQ(TBatchConvers("F", "$A1#32").Template(), "$A1#32");
    EXPECT_EQ(DefOf(TBatchConvers("F", "$A1!N5:1$A2")).length, 5);

    // Field name and template are short strings.
    TBatchConvers rule(std::string(300, 'N'), "!C10:0" + std::string(300, '#'));
    EXPECT_EQ(rule.FieldName().size(), 255u);
    EXPECT_EQ(rule.Template().size(), 255u - 6u);
}

TEST(BatchConvers, ExpandJoinsTheTokens) {
    EXPECT_EQ(Expand("!C255:0$A1#32$A2"), "jeden dwa");
    EXPECT_EQ(Expand("$A1$XYZ"), "jeden");
    EXPECT_EQ(Expand("$A3$A4$A5$A6"), "trzyczterypiecszesc");
    EXPECT_EQ(Expand("$TXT"), "tekst");
    EXPECT_EQ(Expand("przed$A2"), "dwa");       // text before the first token gives nothing
    EXPECT_EQ(Expand("$A2po#32"), " ");         // a token runs to the next # or $: no source
    EXPECT_EQ(Expand("$a1$Txt$A7$A0$A"), "");   // names compare case-sensitively
    EXPECT_EQ(Expand("#65#322#32abc#"), "AB");  // modulo 256; a token that is no number: nothing
    EXPECT_EQ(Expand("#0").size(), 1u);
    EXPECT_EQ(Expand(""), "");
    EXPECT_EQ(Expand("!N10:2"), "");
}

TEST(BatchConvers, KeyedTokensReadNamedValues) {
    const std::string row = " NAZWA=[Dom pod lasem] NR=12 PUSTE=[] OTWARTE=[bez konca";
    EXPECT_EQ(Expand("$TXT.NAZWA", row), "Dom pod lasem");
    EXPECT_EQ(Expand("$TXT.NR", row), "12");
    EXPECT_EQ(Expand("$TXT.ULICA", row), "");
    EXPECT_EQ(Expand("$TXT.PUSTE", row), "");
    EXPECT_EQ(Expand("$TXT.OTWARTE", row), "bez konca");
    EXPECT_EQ(Expand("$TXT.NR#47$TXT.NAZWA", row), "12/Dom pod lasem");
    EXPECT_EQ(Expand("$TXT.nr", row), "");  // keys compare case-sensitively

    // The key needs a blank before it.
    const std::string atStart = "NAZWA=[Dom] NR=12";
    EXPECT_EQ(Expand("$TXT.NAZWA", atStart), "");
    EXPECT_EQ(Expand("$TXT.NR", atStart), "12");

    // Attributes are sources as well.
    TBatchAttributes attributes = kAttributes;
    attributes[1] = "x KW=WA1M/00012345/6 RODZAJ=[dzialka budowlana]";
    TBatchConvers rule("F", "$A2.KW#32$A2.RODZAJ");
    EXPECT_EQ(rule.Expand(attributes, ""), "WA1M/00012345/6 dzialka budowlana");

    EXPECT_EQ(BatchKeyedValue(" A=1 A=2", "A"), "1");  // the first occurrence
    EXPECT_EQ(BatchKeyedValue(" =x", ""), "x");
}
