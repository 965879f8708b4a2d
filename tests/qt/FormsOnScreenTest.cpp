// Every form of the system on the screen: its caption, size, captions and items as a person sees
// them, and a picture of each (each tab of a tabbed form) in the build folder.
#include <QTest>
#include <QToolButton>
#include <memory>
#include <string>
#include <vector>

#include "QtFixture.h"
#include "converter/AboutFormUMRA.h"
#include "converter/Form1.h"
#include "platform/Cp1250.h"
#include "plugin/AboutSHP.h"
#include "plugin/LayerList.h"
#include "plugin/UATB.h"
#include "plugin/UBTA.h"
#include "plugin/UConfigConv.h"
#include "plugin/UMConfig.h"
#include "shape/UConfig.h"
#include "shape/UConfigUnit.h"
#include "shape/UObjPar.h"

namespace {

struct FormCase {
    const char* name;                // of the pictures
    std::function<void()> show;      // shows the form modally until it closes
    const char* caption;             // UTF-8
    int width, height;               // 0: laid out
    std::vector<const char*> texts;  // UTF-8, each somewhere in the window
};

void PrintTo(const FormCase& form, std::ostream* out) {
    *out << form.name;
}

// Ends a dialog as a person would: Escape, and Enter where Escape has no button.
void Dismiss(platform::qt::FormWindow& window) {
    QTest::keyClick(&window, Qt::Key_Escape);
    if (window.TheForm().Showing()) QTest::keyClick(&window, Qt::Key_Return);
}

void Shots(platform::qt::FormWindow& window, const std::string& name) {
    auto* tabs = window.findChild<QTabWidget*>();
    if (!tabs) return SaveShot(window, name);
    for (int i = 0; i < tabs->count(); ++i) {
        if (!tabs->isTabVisible(i)) continue;
        tabs->setCurrentIndex(i);
        SaveShot(window, name + "-" + std::to_string(i + 1));
    }
}

class FormsOnScreenTest : public QtTest, public ::testing::WithParamInterface<FormCase> {};

TEST_P(FormsOnScreenTest, OpensWithItsCaptionsItemsAndSize) {
    const FormCase& form = GetParam();
    WhileShown<platform::Form>(form.show, [&](platform::qt::FormWindow& window, platform::Form&) {
        EXPECT_EQ(window.windowTitle(), QString::fromUtf8(form.caption));
        if (form.width > 0) {
            EXPECT_EQ(window.size(), QSize(form.width, form.height));
        }
        const QStringList texts = ScreenTexts(window);
        for (const char* text : form.texts)
            EXPECT_TRUE(texts.contains(QString::fromUtf8(text))) << text;
        Shots(window, form.name);
        Dismiss(window);
    });
}

void ShowModal(std::unique_ptr<platform::Form> form) {
    form->ShowModal();
}

template <class F>
std::unique_ptr<F> Made() {
    return platform::CreateForm<F>();
}

std::unique_ptr<TFConfig> DisplayForm() {
    auto form = platform::CreateForm<TFConfig>();
    form->SetSymbolFont(platform::TFont{"Wingdings", 12, platform::clRed});
    form->SetSymbolChar('J');
    form->SetLinePen(platform::TPen{platform::clBlue, 1, platform::PS_DASH});
    form->SetFillBrush(platform::TBrush{0x00C000, platform::BS_HATCHED, platform::HS_CROSS});
    return form;
}

void ShowLayers() {
    TLayerList layers;
    for (const char* name : {"drogi.shp", "budynki.shp"}) {
        auto layer = std::make_unique<TSHPLayer>();
        layer->Visible = name[0] == 'd';
        layers.AddObject(name, std::move(layer));
    }
    auto form = platform::CreateForm<TFMConfig>();
    form->SetLayers(0, &layers);
    form->ShowModal();
}

void ShowObjectInfo() {
    auto form = platform::CreateForm<TFObjPar>();
    form->ListBox1.SetItems({"Obiekt nr 1", platform::Utf8ToCp1250("NAZWA = Łąka")});
    form->ShowModal();
}

void ShowConverterAbout() {
    ServerLibrary none;
    auto main = platform::CreateForm<TForm1>(none, std::vector<std::string>{}, "Pontra");
    platform::CreateForm<TAboutFormUMRA>(*main)->ShowModal();
}

INSTANTIATE_TEST_SUITE_P(
    EveryForm, FormsOnScreenTest,
    ::testing::Values(
        FormCase{"konfiguracja-konwersji",
                 [] { EditConversionSettings(); },
                 "Konfiguracja konwersji",
                 383,
                 297,
                 {"MAP -> SHP",
                  "SHP ->MAP",
                  "Ogólne",
                  "Kody",
                  "2XXX",
                  "3XXX",
                  "4XXX",
                  "5XXX",
                  "Point",
                  "Arc",
                  "Polygon",
                  "Multipoint",
                  "Warstwy jak kody",
                  "Opuszczanie obiektów 4xxx i 5xxx z jednym punktem",
                  "Zamiana niezamkniętych 5xxx na 4xxx",
                  "Wszystkie atrybuty do pliku DBF",
                  "Przepisywanie zawartości pliku DBF do atrybutów",
                  "Korzystaj z konfiguracji w plikach",
                  "Zamykanie poligonów",
                  "Rozbijanie złożonych \"Arc\"",
                  "Pytanie o nazwę pliku map do zapisu",
                  "Standard polskich liter w DBF",
                  "Mazovia",
                  "Latin 2",
                  "Windows 1250",
                  "ISO 88592",
                  "Nazwy warstw",
                  "Korzystaj z pliku SYM",
                  "...",
                  "OK",
                  "Anuluj",
                  "1000",
                  "4100",
                  "5100"}},
        FormCase{"zapis-atrybutow",
                 [] { EditAttributesToDbf(); },
                 "Zapis atrybutów do pliku DBF",
                 0,
                 0,
                 {"Atrybuty TOPOLIN", "KOD", "Atrybut 1", "Atrybut 6", "Uwagi", "Data wprowadzenia",
                  "KEM", "Metoda pozyskania", "Wypelnienie", "OK", "Anuluj"}},
        FormCase{"pola-dbf",
                 [] {
                     EditDbfToAttributes({"NAZWA", "TPID"});
                 },
                 "Przepisywanie pól DBF do atrybutów",
                 0,
                 0,
                 {"Pola DBF", "Atrybuty", "Połączenia", "NAZWA", "TPID", "Atrybut 1", "DATA",
                  "Wypelnienie", ">>>", "<<<", "Zapis połączenia z plikiem DBF przez UWAGI", "OK",
                  "Anuluj"}},
        FormCase{"warstwy",
                 ShowLayers,
                 "Warstwy SHP",
                 420,
                 380,
                 {"drogi.shp", "budynki.shp", "drogi.shp", "OK", "Zapis"}},
        FormCase{
            "o-serwerze",
            [] { ShowModal(Made<TAboutSHP>()); },
            "O programie",
            341,
            111,
            {"Serwer plików shp (ArcView) dla TOPOLIN", "wykorzystano moduł", "Vecta 32", "OK"}},
        FormCase{"parametry-wyswietlania",
                 [] { DisplayForm()->ShowModal(); },
                 "Parametry wyświetlania",
                 458,
                 377,
                 {"Punkty", "Linie", "Poligony", "Etykiety", "Styl", "Grubość", "Kolor",
                  "Wypełnienie", "Markowanie punktów", "12", "1", "OK", "Anuluj"}},
        FormCase{"jednostki",
                 [] {
                     std::int32_t planar = 1, angular = 0;
                     EditUnitsDialog(planar, angular);
                 },
                 "Jednostki",
                 331,
                 153,
                 {"Współrzędne płaskie", "metry", "kilometry", "Współrzędne krzywoliniowe",
                  "SSS.DDDD", "OK", "Anuluj"}},
        FormCase{"parametry-obiektu",
                 ShowObjectInfo,
                 "Parametry obiektu ArcView",
                 244,
                 333,
                 {"Obiekt nr 1", "NAZWA = Łąka", "Zamknij"}},
        FormCase{"o-programie",
                 ShowConverterAbout,
                 "O programie",
                 312,
                 151,
                 {"Konwerter ArcView-TOPOLIN", "wersja 2.0 Free", "OK"}}),
    [](const ::testing::TestParamInfo<FormCase>& info) {
        std::string name;
        for (const char* c = info.param.name; *c; ++c) name += *c == '-' ? '_' : *c;
        return name;
    });

}  // namespace
