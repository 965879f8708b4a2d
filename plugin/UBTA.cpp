#include "plugin/UBTA.h"

#include "plugin/AttributeChoice.h"
#include "plugin/SettingsTexts.h"

namespace {

void ClearSlotFields() {
    for (TAttributeSlot& slot : AttributeSlots) slot.DBF.Clear();
}

}  // namespace

TFBTA::TFBTA() : Form(platform::Utf8ToCp1250("Przepisywanie pól DBF do atrybutów")) {
    Button1.Default = true;
    Button2.Cancel = true;
    Button3.OnClick = [this] { Button3Click(); };
    Button4.OnClick = [this] { Button4Click(); };
}

// A pair is found again by its slot, not by searching the line texts for the slot's label: a
// field name may contain another slot's label (a field DATA paired with "Uwagi"), and labels read
// from a settings file may contain one another.
void TFBTA::Button3Click() {
    const int field = ListBox1.ItemIndex();
    const int slot = ListBox2.ItemIndex();
    if (field < 0 || slot < 0 || slot >= static_cast<int>(kAttributeSlotCount)) return;
    for (std::size_t i = 0; i < pairSlots_.size(); ++i) {
        if (pairSlots_[i] == slot) {
            ListBox3.DeleteItem(static_cast<int>(i));
            pairSlots_.erase(pairSlots_.begin() + static_cast<std::ptrdiff_t>(i));
            break;
        }
    }
    const std::string fieldName = ListBox1.SelectedText();
    AttributeSlots[static_cast<std::size_t>(slot)].DBF = fieldName;
    ListBox3.AddItem(fieldName + " >>> " + ListBox2.SelectedText());
    pairSlots_.push_back(slot);
}

void TFBTA::Button4Click() {
    const int line = ListBox3.ItemIndex();
    if (line < 0 || line >= static_cast<int>(pairSlots_.size())) return;
    const int slot = pairSlots_[static_cast<std::size_t>(line)];
    ListBox3.DeleteItem(line);
    pairSlots_.erase(pairSlots_.begin() + line);
    AttributeSlots[static_cast<std::size_t>(slot)].DBF.Clear();
}

platform::LayoutItem TFBTA::DescribeControls() {
    using namespace platform;
    constexpr int kListHeight = 220;
    return Column({Row({Column({Label1, Sized(ListBox1, 130, kListHeight)}),
                        Column({Label2, Sized(ListBox2, 130, kListHeight)}),
                        Column({Stretch(), Button3, Button4, Stretch()}),
                        Column({Label3, Sized(ListBox3, 210, kListHeight)})}),
                   CheckBox1, Row({Stretch(), Button1, Button2})});
}

void TFBTA::FormCloseQuery(bool& canClose) {
    FindLinkAttribute();
    const std::int32_t tpid = LinkSettings.TPIDID;
    if (CheckBox1.Checked && (tpid < 1 || tpid > 6)) {
        settingstexts::Show(settingstexts::TpidOnlyInA1ToA6());
        canClose = false;
    } else if (!CheckBox1.Checked && tpid != 0) {
        settingstexts::Show(settingstexts::TpidWithoutTextLink());
        canClose = false;
    }
}

bool EditDbfToAttributes(const std::vector<std::string>& fieldNames) {
    auto form = platform::CreateForm<TFBTA>();
    for (TAttributeSlot& slot : AttributeSlots) {
        form->ListBox2.AddItem(slot.Label.Str());
        slot.DBF.Clear();
    }
    for (const std::string& name : fieldNames) form->ListBox1.AddItem(name);
    form->ListBox1.SetItemIndex(0);
    form->ListBox2.SetItemIndex(0);
    form->CheckBox1.Checked = LinkSettings.TXTLink;
    if (form->ShowModal() == platform::mrOk) {
        LinkSettings.TXTLink = form->CheckBox1.Checked;
        return true;
    }
    ClearSlotFields();
    return false;
}
