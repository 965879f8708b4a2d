#pragma once

#include <cstdint>

// The shared progress window for the rows of one conversion: opened and shown with an empty
// caption for `count` steps, closed on every way out.
class ConversionProgress {
  public:
    explicit ConversionProgress(std::int32_t count);
    ~ConversionProgress();
    ConversionProgress(const ConversionProgress&) = delete;
    ConversionProgress& operator=(const ConversionProgress&) = delete;

    void Step();
};
