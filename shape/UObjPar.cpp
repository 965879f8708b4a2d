#include "shape/UObjPar.h"

#include "shape/DisplayTexts.h"

TFObjPar::TFObjPar()
    : Form(displaytexts::ObjectInfoCaption()),
      Button1(*this, displaytexts::ButtonClose(), platform::mrCancel) {
    Button1.Default = true;
}
