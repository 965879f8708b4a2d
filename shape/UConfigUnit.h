#pragma once

#include <cstdint>

#include "platform/Controls.h"
#include "platform/Form.h"

// The units form: the shapefile's planar unit and angular format, one radio group each.
class TFConfigUnit : public platform::Form {
  public:
    static constexpr int kClientWidth = 331;
    static constexpr int kClientHeight = 153;

    TFConfigUnit();

    platform::RadioGroup RadioGroup1;  // planar units, in the order of kPlanarUnitFactors
    platform::RadioGroup RadioGroup2;  // angular formats
    platform::Button Button1;          // OK, the default button
    platform::Button Button2;          // Cancel

    platform::LayoutItem DescribeControls() override;
};

// Shows the units form with the two indexes selected; on OK stores the indexes selected then.
void EditUnitsDialog(std::int32_t& PlanarIndex, std::int32_t& AngularIndex);
