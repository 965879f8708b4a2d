#pragma once

#include "platform/Controls.h"
#include "platform/Form.h"

// The object-information window: the identified record's description and attribute row, one
// line each, and a button that closes it.
class TFObjPar : public platform::Form {
  public:
    static constexpr int kClientWidth = 244;
    static constexpr int kClientHeight = 333;

    TFObjPar();

    platform::ListBox ListBox1;
    platform::Button Button1;

    platform::LayoutItem DescribeControls() override;
};
