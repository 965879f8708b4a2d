#include "plugin/UATB.h"

#include <array>

#include "plugin/AttributeChoice.h"
#include "plugin/SettingsTexts.h"

namespace {

// The check box of each choice, in the order of kDbfAttributeFields.
constexpr std::array<platform::CheckBox TFATB::*, 12> kBoxes = {
    &TFATB::CheckBox10, &TFATB::CheckBox1, &TFATB::CheckBox2, &TFATB::CheckBox3,
    &TFATB::CheckBox4,  &TFATB::CheckBox5, &TFATB::CheckBox6, &TFATB::CheckBox7,
    &TFATB::CheckBox8,  &TFATB::CheckBox9, &TFATB::MP,        &TFATB::FA,
};
static_assert(kBoxes.size() == kDbfAttributeFields.size());

}  // namespace

TFATB::TFATB() : Form(platform::Utf8ToCp1250("Zapis atrybutów do pliku DBF")) {
    for (auto box : kBoxes) {
        (this->*box).Parent = &GroupBox1;
        (this->*box).Checked = true;
    }
    Button1.Default = true;
    Button2.Cancel = true;
}

platform::LayoutItem TFATB::DescribeControls() {
    using namespace platform;
    return Column(
        {Holding(GroupBox1,
                 Row({Column({CheckBox10, CheckBox1, CheckBox2, CheckBox3, CheckBox4, CheckBox5}),
                      Column({CheckBox6, CheckBox7, CheckBox8, CheckBox9, MP, FA})})),
         Row({Stretch(), Button1, Button2})});
}

bool EditAttributesToDbf() {
    auto form = platform::CreateForm<TFATB>();
    LoadDbfAttributeChoice();
    for (std::size_t i = 0; i < kBoxes.size(); ++i)
        ((*form).*kBoxes[i]).Checked = DbfAttributeChoice.*kDbfAttributeFields[i].field;
    if (form->ShowModal() != platform::mrOk) return false;
    for (std::size_t i = 0; i < kBoxes.size(); ++i)
        DbfAttributeChoice.*kDbfAttributeFields[i].field = ((*form).*kBoxes[i]).Checked;
    if (!SaveDbfAttributeChoice()) {
        settingstexts::Show(settingstexts::RegistryWriteError());
        return false;
    }
    return true;
}
