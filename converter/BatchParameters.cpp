#include "converter/BatchParameters.h"

#include <array>

std::string UpCaseShortString(std::string_view Text) {
    std::string result(Text);
    for (char& c : result)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return result;
}

void TakeBatchParameter(std::string_view parameter, BatchValues& values) {
    std::string s(parameter);
    struct Key {
        std::string_view name;
        std::string BatchValues::*value;
    };
    static constexpr std::array<Key, 5> keys{{{"MAP=", &BatchValues::Map},
                                              {"SHP=", &BatchValues::Shp},
                                              {"CFG=", &BatchValues::Cfg},
                                              {"SHPDIR=", &BatchValues::ShpDir},
                                              {"ACTION=", &BatchValues::Action}}};
    for (const Key& key : keys) {
        if (!UpCaseShortString(s).starts_with(key.name)) continue;
        s.erase(0, key.name.size());
        values.*key.value = s;
    }
    values.Action = UpCaseShortString(values.Action);
}

BatchAction ReadyBatchAction(const BatchValues& values) {
    if (values.Action == "MAP2SHP" && !values.Map.empty() && !values.Cfg.empty() &&
        !values.ShpDir.empty())
        return BatchAction::MapToShp;
    if (values.Action == "SHP2MAP" && !values.Map.empty() && !values.Shp.empty() &&
        !values.Cfg.empty())
        return BatchAction::ShpToMap;
    return BatchAction::None;
}

std::vector<std::string> MissingBatchKeys(const BatchValues& values) {
    std::vector<std::string> missing;
    const bool toShp = values.Action == "MAP2SHP";
    if (!toShp && values.Action != "SHP2MAP") return {"ACTION="};
    if (values.Map.empty()) missing.emplace_back("MAP=");
    if (!toShp && values.Shp.empty()) missing.emplace_back("SHP=");
    if (values.Cfg.empty()) missing.emplace_back("CFG=");
    if (toShp && values.ShpDir.empty()) missing.emplace_back("SHPDIR=");
    return missing;
}

BatchValues BatchJob(const BatchValues& values) {
    BatchValues job;
    job.Action = values.Action;
    job.Map = values.Map;
    job.Cfg = values.Cfg;
    switch (ReadyBatchAction(values)) {
        case BatchAction::MapToShp:
            job.ShpDir = values.ShpDir;
            break;
        case BatchAction::ShpToMap:
            job.Shp = values.Shp;
            break;
        case BatchAction::None:
            return {};
    }
    return job;
}
