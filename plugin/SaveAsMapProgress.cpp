#include "plugin/SaveAsMapProgress.h"

#include "shape/ProgressFormShared.h"

ConversionProgress::ConversionProgress(std::int32_t count) {
    ProgressOpen(1, count, 1, "");
    ProgressShow();
}

ConversionProgress::~ConversionProgress() {
    ProgressClose();
}

void ConversionProgress::Step() {
    ProgressStep();
}
