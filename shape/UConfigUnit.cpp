#include "shape/UConfigUnit.h"

#include "shape/Shape.h"
#include "shape/ShapeTransformTexts.h"

namespace texts = shapetransformtexts;

TFConfigUnit::TFConfigUnit()
    : Form(texts::UnitsCaption()),
      RadioGroup1(texts::PlanarGroupCaption(), texts::PlanarUnitItems()),
      RadioGroup2(texts::AngularGroupCaption(), texts::AngularFormatItems()),
      Button1(*this, texts::OkCaption(), platform::mrOk),
      Button2(*this, texts::CancelCaption(), platform::mrCancel) {
    ClientWidth = kClientWidth;
    ClientHeight = kClientHeight;
    Button1.Default = true;
    Button2.Cancel = true;
}

platform::LayoutItem TFConfigUnit::DescribeControls() {
    using namespace platform;
    return Column(
        {Row({RadioGroup1, RadioGroup2}), Row({Stretch(), Sized(Button1, 75, 25), Stretch(),
                                               Stretch(), Sized(Button2, 75, 25), Stretch()})});
}

void EditUnitsDialog(std::int32_t& PlanarIndex, std::int32_t& AngularIndex) {
    auto form = platform::CreateForm<TFConfigUnit>();
    form->RadioGroup1.SetItemIndex(PlanarIndex);
    form->RadioGroup2.SetItemIndex(AngularIndex);
    if (form->ShowModal() != platform::mrOk) return;
    PlanarIndex = form->RadioGroup1.ItemIndex();
    AngularIndex = form->RadioGroup2.ItemIndex();
}

bool TShape::EditUnits() {
    EditUnitsDialog(PlanarUnitIndex, AngularFormatIndex);
    return true;
}
