#pragma once

#include "platform/Controls.h"
#include "platform/FileDialog.h"
#include "platform/Form.h"
#include "plugin/LayerList.h"
#include "plugin/LayerListTexts.h"

// The layer dialog "Warstwy SHP": one check line per layer (ticked when visible), a popup menu to
// choose the active layer, open a layer's display settings, change the drawing order and delete
// layers, and "Zapis" to save the list as a layer list file. It edits the multi-layer object's
// very list in place; the active index is a position in it, which moves and deletions leave as it
// is. Every command acts on the selected line only.
class TFMConfig : public platform::Form {
  public:
    static constexpr int kWidth = 420;
    static constexpr int kHeight = 380;

    TFMConfig();

    platform::Label Label1;  // the active layer's file name without folder
    platform::CheckListBox CheckListBox1;
    platform::Button BitBtn1{*this, "OK", platform::mrOk};  // the OK kind: default button
    platform::Button BitBtn2{*this, layertexts::SaveButton()};
    platform::SaveDialog SaveDialog1;

    platform::PopupMenu PopupMenu1;  // CheckListBox1's context menu
    platform::MenuItem Ustawjakoaktywn1{layertexts::MenuSetActive()};
    platform::MenuItem Konfiguracja1{layertexts::MenuConfigure()};
    platform::MenuItem N1{"-"};
    platform::MenuItem Pocztek1{layertexts::MenuToBottom()};
    platform::MenuItem Niej1{layertexts::MenuDown()};
    platform::MenuItem Dogry1{layertexts::MenuUp()};
    platform::MenuItem Nawierzch1{layertexts::MenuToTop()};
    platform::MenuItem N2{"-"};
    platform::MenuItem Usu1{layertexts::MenuDelete()};

    // Hands the dialog the list it edits and the active index (-1 when it lies past the list)
    // and fills the check lines.
    void SetLayers(int active, TLayerList* layers);
    // The list (the same object) and the active index as the dialog leaves them.
    TLayerList* GetLayers(int& active) const;

    void CheckListBox1Click();
    void Ustawjakoaktywn1Click();
    void Konfiguracja1Click();
    void Pocztek1Click();
    void Niej1Click();
    void Dogry1Click();
    void Nawierzch1Click();
    void Usu1Click();
    void BitBtn2Click();

    platform::LayoutItem DescribeControls() override;

  private:
    // The selected line's layer, or nullptr when no line is selected.
    TSHPLayer* SelectedLayer() const;
    // Moves the selected line and its layer to `to`, when that is another place in the list.
    void MoveSelected(int to);

    TLayerList* layers_ = nullptr;
    int active_ = -1;
};
