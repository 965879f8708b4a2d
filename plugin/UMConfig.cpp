#include "plugin/UMConfig.h"

#include "plugin/LayerListFile.h"

TFMConfig::TFMConfig() : Form(layertexts::DialogCaption()) {
    ClientWidth = kWidth;
    ClientHeight = kHeight;
    BitBtn1.Default = true;
    BitBtn2.OnClick = [this] { BitBtn2Click(); };
    CheckListBox1.ContextMenu = &PopupMenu1;
    CheckListBox1.OnClick = [this] { CheckListBox1Click(); };

    SaveDialog1.DefaultExt = layertexts::SaveDefaultExt();
    SaveDialog1.Filter = layertexts::SaveFilter();
    SaveDialog1.Options |= platform::ofOverwritePrompt | platform::ofPathMustExist;

    for (platform::MenuItem* item : {&Ustawjakoaktywn1, &Konfiguracja1, &N1, &Pocztek1, &Niej1,
                                     &Dogry1, &Nawierzch1, &N2, &Usu1})
        PopupMenu1.Add(*item);
    Ustawjakoaktywn1.OnClick = [this] { Ustawjakoaktywn1Click(); };
    Konfiguracja1.OnClick = [this] { Konfiguracja1Click(); };
    Pocztek1.OnClick = [this] { Pocztek1Click(); };
    Niej1.OnClick = [this] { Niej1Click(); };
    Dogry1.OnClick = [this] { Dogry1Click(); };
    Nawierzch1.OnClick = [this] { Nawierzch1Click(); };
    Usu1.OnClick = [this] { Usu1Click(); };
}

platform::LayoutItem TFMConfig::DescribeControls() {
    using namespace platform;
    return Column({Label1, CheckListBox1, Row({Stretch(), BitBtn1, BitBtn2})});
}

void TFMConfig::SetLayers(int active, TLayerList* layers) {
    layers_ = layers;
    const int count = layers_ ? layers_->Count() : 0;
    active_ = active < 0 || active >= count ? -1 : active;
    CheckListBox1.ClearItems();
    for (int i = 0; i < count; ++i) {
        CheckListBox1.AddItem(layers_->Strings(i));
        const TSHPLayer* layer = layers_->Objects(i);
        CheckListBox1.SetChecked(i, layer && layer->Visible);
    }
    if (active_ >= 0) Label1.Caption = layers_->Strings(active_);
}

TLayerList* TFMConfig::GetLayers(int& active) const {
    active = active_;
    return layers_;
}

TSHPLayer* TFMConfig::SelectedLayer() const {
    return layers_ ? layers_->Objects(CheckListBox1.ItemIndex()) : nullptr;
}

void TFMConfig::CheckListBox1Click() {
    if (TSHPLayer* layer = SelectedLayer())
        layer->Visible = CheckListBox1.Checked(CheckListBox1.ItemIndex());
}

void TFMConfig::Ustawjakoaktywn1Click() {
    if (!SelectedLayer()) return;
    active_ = CheckListBox1.ItemIndex();
    Label1.Caption = layers_->Strings(active_);
}

// The style file is written at once, so the new display settings outlive the session even when
// the layer is never freed.
void TFMConfig::Konfiguracja1Click() {
    TSHPLayer* layer = SelectedLayer();
    if (!layer || !layer->View) return;
    layer->View->ConfigureDisplay(0);
    if (layer->View->Shape) layer->View->Shape->WriteStyleFile();
}

void TFMConfig::MoveSelected(int to) {
    const int from = CheckListBox1.ItemIndex();
    if (!SelectedLayer() || to < 0 || to >= layers_->Count() || to == from) return;
    layers_->Move(from, to);
    CheckListBox1.MoveItem(from, to);  // the check mark and the selection go with the line
}

void TFMConfig::Pocztek1Click() {
    MoveSelected(0);
}

void TFMConfig::Niej1Click() {
    MoveSelected(CheckListBox1.ItemIndex() - 1);
}

void TFMConfig::Dogry1Click() {
    MoveSelected(CheckListBox1.ItemIndex() + 1);
}

void TFMConfig::Nawierzch1Click() {
    if (layers_) MoveSelected(layers_->Count() - 1);
}

void TFMConfig::Usu1Click() {
    if (!SelectedLayer()) return;
    const int line = CheckListBox1.ItemIndex();
    CheckListBox1.DeleteItem(line);
    layers_->Delete(line);
}

void TFMConfig::BitBtn2Click() {
    if (!SaveDialog1.Execute() || !layers_) return;
    if (WriteLayerListFile(SaveDialog1.FileName, *layers_) != 0)
        layertexts::Show(layertexts::ListWriteError(SaveDialog1.FileName));
}
