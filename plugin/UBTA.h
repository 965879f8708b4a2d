#pragma once

#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/Cp1250.h"
#include "platform/Form.h"

// The pairing of dBase fields with the attribute slots of map objects: fields on the left,
// slots in the middle, the pairs made ("FIELD >>> label") on the right.
class TFBTA : public platform::Form {
  public:
    TFBTA();

    platform::Label Label1{"Pola DBF"};
    platform::ListBox ListBox1;
    platform::Label Label2{"Atrybuty"};
    platform::ListBox ListBox2;
    platform::Label Label3{platform::Utf8ToCp1250("Połączenia")};
    platform::ListBox ListBox3;
    platform::Button Button3{*this, ">>>"};
    platform::Button Button4{*this, "<<<"};
    platform::CheckBox CheckBox1{
        platform::Utf8ToCp1250("Zapis połączenia z plikiem DBF przez UWAGI")};
    platform::Button Button1{*this, "OK", platform::mrOk};
    platform::Button Button2{*this, "Anuluj", platform::mrCancel};

    // Pairs the selected field with the selected slot, replacing the slot's earlier pair.
    void Button3Click();
    // Removes the selected pair and frees its slot.
    void Button4Click();

    platform::LayoutItem DescribeControls() override;

  protected:
    // Refuses to close while the link check box and the TPID pairing disagree.
    void FormCloseQuery(bool& canClose) override;

  private:
    // The slot of each line of ListBox3, line for line.
    std::vector<int> pairSlots_;
};

// Shows the pairing dialog for a dBase table with these field names (table order); every
// earlier pairing is forgotten. On OK the pairs stay in AttributeSlots and TXTLink takes the
// check box; otherwise no slot keeps a field. True when confirmed.
bool EditDbfToAttributes(const std::vector<std::string>& fieldNames);
