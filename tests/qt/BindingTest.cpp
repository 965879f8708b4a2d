// A person's clicks and typing in the real widgets run the forms' own handlers, and the widgets
// show what the handlers did.
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QToolButton>
#include <fstream>

#include "QtFixture.h"
#include "converter/Form1.h"
#include "platform/Help.h"
#include "platform/ModuleLoader.h"
#include "plugin/ConversionSettings.h"
#include "plugin/UConfigConv.h"
#include "shape/UConfig.h"

namespace {

using platform::qt::FormWindow;

using BindingTest = QtTest;

QRadioButton* RadioItem(const FormWindow& window, const platform::RadioGroup& group, int item) {
    const auto buttons = WidgetOf<QGroupBox>(window, group)->findChildren<QRadioButton*>();
    return item < buttons.size() ? buttons[item] : nullptr;
}

void TypeInto(QLineEdit* edit, const char* text) {
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Home);
    QTest::keyClicks(edit, QString::fromUtf8(text));
}

TEST_F(BindingTest, TheSettingsDialogTakesWhatAPersonDoesAndOkSavesIt) {
    WhileShown<TFConfConv>([] { EXPECT_TRUE(EditConversionSettings()); },
                           [](FormWindow& window, TFConfConv& form) {
                               auto* tabs = WidgetOf<QTabWidget>(window, form.PageControl1);
                               WidgetOf<QCheckBox>(window, form.CheckBox3)->click();
                               RadioItem(window, form.RadioGroup1, 1)->click();
                               tabs->setCurrentIndex(1);
                               EXPECT_EQ(form.PageControl1.ActivePage(), &form.TabSheet2);
                               TypeInto(WidgetOf<QLineEdit>(window, form.MaskEdit1), "234");
                               EXPECT_EQ(form.MaskEdit1.Text, "1234");
                               // A disabled box stays as it was.
                               auto* closing = WidgetOf<QCheckBox>(window, form.CheckBox8);
                               EXPECT_FALSE(closing->isEnabled());
                               tabs->setCurrentIndex(2);
                               RadioItem(window, form.RadioGroup5, 1)->click();
                               WidgetOf<QPushButton>(window, form.Button1)->click();
                           });
    LoadConversionSettings();
    EXPECT_FALSE(ConversionSettings.KNW);
    EXPECT_EQ(ConversionSettings._2XXX, 1);
    EXPECT_EQ(ConversionSettings.Point, 1234);
    EXPECT_EQ(ConversionSettings.PLKODY, 2);
    EXPECT_NE(Registry().find("\"Point\""), std::string::npos);
}

// Presses Tab once per control, starting from the first, and notes the control that has the
// keyboard each time: its widget, or one inside it (a radio group's item, the tabs).
std::vector<const platform::Control*> TabRound(
    const FormWindow& window, const std::vector<const platform::Control*>& controls) {
    window.WidgetOf(*controls.front())->setFocus();
    std::vector<const platform::Control*> reached;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const platform::Control* found = nullptr;
        for (const QWidget* w = window.focusWidget(); w && !found; w = w->parentWidget())
            for (const platform::Control* control : controls)
                if (window.WidgetOf(*control) == w) found = control;
        reached.push_back(found);
        QTest::keyClick(window.focusWidget(), Qt::Key_Tab);
    }
    return reached;
}

TEST_F(BindingTest, TheTabKeyFollowsTheSettingsTableAndArrowsChooseInsideARadioGroup) {
    WhileShown<TFConfConv>([] { EditConversionSettings(); },
                           [](FormWindow& window, TFConfConv& f) {
                               // Each radio group is one stop.
                               const std::vector<const platform::Control*> first{
                                   &f.PageControl1, &f.RadioGroup1, &f.RadioGroup2, &f.RadioGroup3,
                                   &f.RadioGroup4,  &f.CheckBox3,   &f.CheckBox4,   &f.CheckBox5,
                                   &f.CheckBox1,    &f.Button1,     &f.Button2};
                               EXPECT_EQ(TabRound(window, first), first);

                               // From "Point": Down to "Arc", Down round to "Point", Up round back
                               // to "Arc"; the chosen item keeps the keyboard.
                               QTest::keyClick(window.focusWidget(), Qt::Key_Tab);
                               for (const auto& [key, chosen] :
                                    {std::pair{Qt::Key_Down, 1}, std::pair{Qt::Key_Down, 0},
                                     std::pair{Qt::Key_Up, 1}}) {
                                   QTest::keyClick(window.focusWidget(), key);
                                   EXPECT_EQ(f.RadioGroup1.ItemIndex(), chosen);
                                   EXPECT_EQ(window.focusWidget(),
                                             RadioItem(window, f.RadioGroup1, chosen));
                               }
                               QTest::keyClick(&window, Qt::Key_Escape);
                           });
}

TEST_F(BindingTest, CancellingTheSettingsDialogChangesNothing) {
    ASSERT_TRUE(SaveConversionSettings());
    const std::string before = Registry();
    WhileShown<TFConfConv>([] { EXPECT_FALSE(EditConversionSettings()); },
                           [](FormWindow& window, TFConfConv& form) {
                               WidgetOf<QCheckBox>(window, form.CheckBox4)->click();
                               RadioItem(window, form.RadioGroup4, 0)->click();
                               EXPECT_FALSE(form.CheckBox4.Checked);
                               WidgetOf<QPushButton>(window, form.Button2)->click();
                           });
    EXPECT_EQ(Registry(), before);
}

TEST_F(BindingTest, AWidePenGreysTheStyleListAndRepaintsThePreview) {
    auto form = platform::CreateForm<TFConfig>();
    form->SetLinePen(platform::TPen{platform::clBlack, 1, platform::PS_DOT});
    form->ArcView.SetActivePage(&form->Linie);
    WhileShown<TFConfig>([&form] { form->ShowModal(); },
                         [](FormWindow& window, TFConfig& f) {
                             auto* styles = WidgetOf<QComboBox>(window, f.ComboBox3);
                             auto* preview = WidgetOf<QLabel>(window, f.DrawGrid1);
                             EXPECT_TRUE(styles->isEnabled());
                             EXPECT_EQ(styles->currentIndex(), platform::PS_DOT);
                             const qint64 before = preview->pixmap().cacheKey();
                             auto* width = WidgetOf<QLineEdit>(window, f.Edit2);
                             width->selectAll();
                             QTest::keyClicks(width, "3");
                             EXPECT_FALSE(styles->isEnabled());
                             EXPECT_EQ(styles->currentIndex(), 0);
                             EXPECT_NE(preview->pixmap().cacheKey(), before);
                             width->selectAll();
                             QTest::keyClicks(width, "1");
                             EXPECT_TRUE(styles->isEnabled());
                             QTest::keyClick(&window, Qt::Key_Escape);
                         });
    EXPECT_EQ(form->GetLinePen().Width, 1);
}

TEST_F(BindingTest, TheMainWindowShowsItsToolbarOpensItsHelpAndClosesOnADoubleClick) {
    // A help page beside the test program, which F1 opens.
    const std::string page = platform::ExecutableFolder() + "/KestrelTestHelp.html";
    std::ofstream(page) << "<html></html>";
    platform::SetHelpFile("KestrelTestHelp.hlp");
    QUrl opened;
    Forms().SetUrlOpener([&opened](const QUrl& url) {
        opened = url;
        return true;
    });
    ServerLibrary none;
    auto main = platform::CreateForm<TForm1>(none, std::vector<std::string>{}, "Pontra");
    WhileShown<TForm1>([&main] { platform::RunMainForm(*main); },
                       [](FormWindow& window, TForm1& form) {
                           EXPECT_EQ(window.windowTitle(), "Konwerter SHP<>Topolin");
                           EXPECT_EQ(window.size(), QSize(347, 70));
                           const auto buttons = window.findChildren<QToolButton*>();
                           ASSERT_EQ(buttons.size(), 5);
                           QStringList hints;
                           for (const QToolButton* button : buttons) {
                               hints << button->toolTip();
                               EXPECT_EQ(button->size(), QSize(67, 66));
                               EXPECT_FALSE(button->icon().isNull());
                           }
                           EXPECT_EQ(hints, (QStringList{"SHP -> MAP", "MAP ->SHP", "Konfiguracja",
                                                         "Informacje", ""}));
                           EXPECT_EQ(WidgetOf<QToolButton>(window, form.ToolButton3), buttons[2]);
                           SaveShot(window, "konwerter");
                           QTest::keyClick(&window, Qt::Key_F1);
                           QTest::mouseDClick(&window, Qt::LeftButton, {}, QPoint(343, 35));
                       });
    EXPECT_FALSE(main->Showing());
    EXPECT_EQ(opened, QUrl::fromLocalFile(QString::fromStdString(page)));
    Forms().SetUrlOpener(nullptr);
    platform::SetHelpFile("");
    std::filesystem::remove(page);
}

}  // namespace
