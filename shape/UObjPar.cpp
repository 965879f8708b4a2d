#include "shape/UObjPar.h"

#include "shape/DisplayTexts.h"

TFObjPar::TFObjPar()
    : Form(displaytexts::ObjectInfoCaption()),
      Button1(*this, displaytexts::ButtonClose(), platform::mrCancel) {
    ClientWidth = kClientWidth;
    ClientHeight = kClientHeight;
    Button1.Default = true;
}

platform::LayoutItem TFObjPar::DescribeControls() {
    using namespace platform;
    return Column({ListBox1, Row({Stretch(), Button1, Stretch()})});
}
