#include "transform/trs_trans.h"

TTrsTrans::TTrsTrans() : conformal_(std::make_unique<TKonforemna>()) {}

TTrsTrans::~TTrsTrans() {
    if (loaded_) {
        residuals_.clear();
        loaded_ = false;
    }
}

bool TTrsTrans::Transform(bool Residuals, double X, double Y, double H, double& OutX, double& OutY,
                          double& OutH) const {
    static_cast<void>(Residuals);  // used only with loaded parameters
    OutX = X;
    OutY = Y;
    OutH = H;
    return loaded_;
}
