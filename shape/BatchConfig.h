#pragma once

// A batch-configuration file in memory. Its contents arrive with the batch configuration reader;
// a shape only owns one and frees it.
class TBatchConfig {
  public:
    TBatchConfig() = default;
    virtual ~TBatchConfig() = default;
    TBatchConfig(const TBatchConfig&) = delete;
    TBatchConfig& operator=(const TBatchConfig&) = delete;
};
