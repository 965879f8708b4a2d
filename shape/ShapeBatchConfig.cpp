#include "shape/BatchConfig.h"
#include "shape/Shape.h"

bool TShape::AttachBatchConfig(std::string_view fileName) {
    BatchConfig.reset();
    BatchConfig = std::make_unique<TBatchConfig>(fileName);
    return true;
}
