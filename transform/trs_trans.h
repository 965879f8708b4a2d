#pragma once

#include <array>
#include <memory>
#include <vector>

#include "transform/Konforemna.h"

// The user-defined plane transformation. The system has no way of loading its parameters, so an
// instance stays empty and passes every point through unchanged.
class TTrsTrans {
  public:
    TTrsTrans();
    ~TTrsTrans();
    TTrsTrans(const TTrsTrans&) = delete;
    TTrsTrans& operator=(const TTrsTrans&) = delete;

    // Writes the input to the outputs; false: nothing was transformed (no parameters loaded).
    bool Transform(bool Residuals, double X, double Y, double H, double& OutX, double& OutY,
                   double& OutH) const;

    bool Loaded() const { return loaded_; }
    int Mode() const { return mode_; }
    const std::array<double, 12>& Parameters() const { return parameters_; }
    const TKonforemna& Conformal() const { return *conformal_; }

  private:
    struct ResidualPoint {
        double X, Y, DX, DY;
    };

    bool loaded_ = false;
    int mode_ = -1;
    std::array<double, 12> parameters_{};
    std::unique_ptr<TKonforemna> conformal_;
    std::vector<ResidualPoint> residuals_;
};
