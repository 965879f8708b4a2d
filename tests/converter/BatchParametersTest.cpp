#include "converter/BatchParameters.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace {

BatchValues Take(std::initializer_list<std::string> parameters) {
    BatchValues values;
    for (const std::string& parameter : parameters) TakeBatchParameter(parameter, values);
    return values;
}

}  // namespace

TEST(BatchParametersTest, KeysMatchInAnyCaseAndValuesKeepTheirs) {
    const BatchValues values =
        Take({"map=A.map", "Cfg=b.INI", "sHpDiR=c:\\Out", "action=map2shp", "SHP=d.Shp"});
    EXPECT_EQ(values.Map, "A.map");
    EXPECT_EQ(values.Cfg, "b.INI");
    EXPECT_EQ(values.ShpDir, "c:\\Out");
    EXPECT_EQ(values.Shp, "d.Shp");
    EXPECT_EQ(values.Action, "MAP2SHP");
    EXPECT_EQ(ReadyBatchAction(values), BatchAction::MapToShp);
}

TEST(BatchParametersTest, KeysMatchOnlyAtTheStartOfTheWholeParameter) {
    BatchValues values = Take({"SHPDIR=out"});
    EXPECT_EQ(values.ShpDir, "out");
    EXPECT_EQ(values.Shp, "");
    values = Take({"XMAP=a.map", "MAP", "-MAP=a", "map =a", "SHP"});
    EXPECT_EQ(values, BatchValues{});
}

TEST(BatchParametersTest, EachKeyLooksAtWhatTheEarlierKeysLeft) {
    const BatchValues values = Take({"MAP=CFG=x.ini"});
    EXPECT_EQ(values.Map, "CFG=x.ini");
    EXPECT_EQ(values.Cfg, "x.ini");
    // A value that only later looks like a key: "SHP=" is tested before "CFG=" is cut off.
    const BatchValues other = Take({"CFG=SHP=y"});
    EXPECT_EQ(other.Cfg, "SHP=y");
    EXPECT_EQ(other.Shp, "");
}

TEST(BatchParametersTest, ALaterParameterReplacesTheValueAndEmptyValuesCount) {
    BatchValues values = Take({"MAP=a.map", "MAP=b.map", "ACTION=shp2map", "ACTION=Map2Shp"});
    EXPECT_EQ(values.Map, "b.map");
    EXPECT_EQ(values.Action, "MAP2SHP");
    TakeBatchParameter("MAP=", values);
    EXPECT_EQ(values.Map, "");
}

// A name too long for the library reaches the conversion whole, to be refused there, not cut.
TEST(BatchParametersTest, ParametersAreTakenWhole) {
    const std::string name(300, 'n');
    EXPECT_EQ(Take({"MAP=" + name}).Map, name);
}

TEST(BatchParametersTest, AConversionNeedsItsActionAndAllItsValues) {
    EXPECT_EQ(ReadyBatchAction(Take({"ACTION=SHP2MAP", "MAP=a.map", "CFG=b.ini"})),
              BatchAction::None);
    EXPECT_EQ(ReadyBatchAction(Take({"ACTION=SHP2MAP", "MAP=a.map", "CFG=b.ini", "SHP=c.shp"})),
              BatchAction::ShpToMap);
    EXPECT_EQ(ReadyBatchAction(Take({"ACTION=MAP2SHP", "MAP=a.map", "CFG=b.ini"})),
              BatchAction::None);
    EXPECT_EQ(ReadyBatchAction(Take({"ACTION=MAP2SHP", "MAP=a.map", "SHPDIR=o"})),
              BatchAction::None);
    EXPECT_EQ(ReadyBatchAction(Take({"ACTION=MAP2SHP ", "MAP=a", "CFG=b", "SHPDIR=o"})),
              BatchAction::None);
    EXPECT_EQ(ReadyBatchAction(Take({"MAP=a", "CFG=b", "SHPDIR=o", "SHP=s"})), BatchAction::None);
}

TEST(BatchParametersTest, AJobHoldsOnlyTheValuesItsConversionUses) {
    const BatchValues first = Take({"ACTION=MAP2SHP", "MAP=a", "CFG=b", "SHPDIR=o"});
    const BatchValues withShp = Take({"ACTION=MAP2SHP", "MAP=a", "CFG=b", "SHPDIR=o", "SHP=s"});
    EXPECT_EQ(BatchJob(first), BatchJob(withShp));
    const BatchValues otherMap = Take({"ACTION=MAP2SHP", "MAP=z", "CFG=b", "SHPDIR=o"});
    EXPECT_NE(BatchJob(first), BatchJob(otherMap));
    EXPECT_EQ(BatchJob(Take({"MAP=a"})), BatchValues{});
}
