#pragma once

#include <string>
#include <string_view>
#include <vector>

// The command-line batch mode of the converter: parameters of the form KEY=value, keys matched
// case-insensitively at the start of the parameter.

// a to z become A to Z; every other byte, Polish letters included, stays as it is.
std::string UpCaseShortString(std::string_view Text);

// The values the parameters have given so far; empty when not given.
struct BatchValues {
    std::string Map;
    std::string Shp;
    std::string Cfg;
    std::string ShpDir;
    std::string Action;  // upper-cased

    bool operator==(const BatchValues&) const = default;
};

// Takes one parameter, whole (a name is never cut): each key in the order "MAP=", "SHP=", "CFG=",
// "SHPDIR=", "ACTION=" that the parameter, as the earlier keys left it, begins with is cut off
// and the rest becomes that key's value, replacing an earlier one. So "MAP=CFG=x" sets the MAP
// value to "CFG=x" and then the CFG value to "x".
void TakeBatchParameter(std::string_view parameter, BatchValues& values);

enum class BatchAction { None, MapToShp, ShpToMap };

// The conversion the values call for: MAP2SHP needs the MAP, CFG and SHPDIR values, SHP2MAP the
// MAP, SHP and CFG values.
BatchAction ReadyBatchAction(const BatchValues& values);

// The keys the action still lacks ("ACTION=" alone when it names no known action), in the order
// of the usage text; empty when the conversion is complete.
std::vector<std::string> MissingBatchKeys(const BatchValues& values);

// The values a conversion uses, with the others cleared: two parameter lists that give the same
// job run the same conversion.
BatchValues BatchJob(const BatchValues& values);
