// The display dialogs of a shape: the style of its points, lines or areas and its view options,
// edited in TFConfig and taken back on OK.
#include "platform/DbfTable.h"
#include "platform/UiService.h"
#include "shape/Shape.h"
#include "shape/UConfig.h"

namespace {

enum class StyleTabs { Point, Line, Area };

// A dialog for the shape with the tabs of one kind of style; the active tab comes first.
std::unique_ptr<TFConfig> NewConfigForm(StyleTabs tabs, std::uint32_t parentWindow) {
    auto form = platform::CreateForm<TFConfig>();
    form->Punkty.SetTabVisible(tabs == StyleTabs::Point);
    form->Linie.SetTabVisible(tabs != StyleTabs::Point);
    form->Poligony.SetTabVisible(tabs == StyleTabs::Area);
    form->Etykiety.SetTabVisible(true);
    form->ArcView.SetActivePage(tabs == StyleTabs::Point  ? &form->Punkty
                                : tabs == StyleTabs::Line ? &form->Linie
                                                          : &form->Poligony);
    form->ParentWindow = parentWindow;
    return form;
}

}  // namespace

bool TShape::EditDisplay(TShape* shape, std::uint32_t parentWindow) {
    if (shape != nullptr) shape->ConfigureDisplay(parentWindow);
    return false;
}

bool TShape::ConfigureDisplay(std::uint32_t parentWindow) {
    try {
        switch (FamilyOf(HeaderShapeType())) {
            case ShapeFamily::Point:
            case ShapeFamily::MultiPoint:
                EditPointStyle(parentWindow);
                break;
            case ShapeFamily::Line:
                EditLineStyle(parentWindow);
                break;
            case ShapeFamily::Polygon:
                EditAreaStyle(parentWindow);
                break;
            default:
                break;
        }
    } catch (const platform::DbfError& error) {
        // Labels were on and their table could not be read as the dialog opened: the dialog is
        // not shown and the error goes no further than a message.
        platform::MessageBox(parentWindow, error.what(), "",
                             platform::MB_OK | platform::MB_ICONERROR);
        return false;
    }
    ReadLabelsFromDbf();
    return false;
}

namespace {

TLabelOptions OptionsOf(const TShape& shape) {
    TLabelOptions options;
    options.Markowanie = shape.Markowanie ? 1 : 0;
    options.Etykiety = shape.Etykiety ? 1 : 0;
    options.NumerPola = shape.NumerPola;
    return options;
}

void TakeOptions(TShape& shape, const TLabelOptions& options) {
    shape.Markowanie = options.Markowanie != 0;
    shape.Etykiety = options.Etykiety != 0;
    shape.NumerPola = options.NumerPola;
}

}  // namespace

bool TShape::EditPointStyle(std::uint32_t parentWindow) {
    auto form = NewConfigForm(StyleTabs::Point, parentWindow);
    form->SetSymbolFont(*SymbolFont);
    if (Symbol.empty()) Symbol.assign(1, ' ');
    form->SetSymbolChar(Symbol.front());
    form->SetDbfFileName(FileName);
    form->SetLabelOptions(OptionsOf(*this));
    if (form->ShowModal() == platform::mrOk) {
        *SymbolFont = form->GetSymbolFont();
        Symbol = std::string(1, form->GetSymbolChar());
        TakeOptions(*this, form->GetLabelOptions());
    }
    return false;
}

bool TShape::EditLineStyle(std::uint32_t parentWindow) {
    auto form = NewConfigForm(StyleTabs::Line, parentWindow);
    form->SetLinePen(*LinePen);
    form->SetDbfFileName(FileName);
    form->SetLabelOptions(OptionsOf(*this));
    if (form->ShowModal() == platform::mrOk) {
        *LinePen = form->GetLinePen();
        TakeOptions(*this, form->GetLabelOptions());
    }
    return false;
}

bool TShape::EditAreaStyle(std::uint32_t parentWindow) {
    auto form = NewConfigForm(StyleTabs::Area, parentWindow);
    form->SetLinePen(*LinePen);
    form->SetFillBrush(*AreaBrush);
    form->SetDbfFileName(FileName);
    form->SetLabelOptions(OptionsOf(*this));
    if (form->ShowModal() == platform::mrOk) {
        *LinePen = form->GetLinePen();
        *AreaBrush = form->GetFillBrush();
        TakeOptions(*this, form->GetLabelOptions());
    }
    return false;
}
