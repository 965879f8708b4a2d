#include "platform/qt/ControlWidgets.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTableWidget>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Controls.h"
#include "platform/qt/BuiltInPictures.h"
#include "platform/qt/FormWindow.h"
#include "platform/qt/Pictures.h"
#include "platform/qt/QtForms.h"
#include "platform/qt/QtText.h"

namespace platform::qt {
namespace {

constexpr int kOwnerDrawnItemHeight = 16;
constexpr int kOwnerDrawnItemWidth = 100;

// Watches a widget's events: the callback sees each one and says whether it has taken it.
class EventHook : public QObject {
  public:
    EventHook(QWidget* widget, std::function<bool(QEvent*)> onEvent)
        : QObject(widget), onEvent_(std::move(onEvent)) {
        widget->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        return onEvent_(event) || QObject::eventFilter(watched, event);
    }

  private:
    std::function<bool(QEvent*)> onEvent_;
};

// The design font is the window's own; a control's font differs from it only where it says so.
void ApplyFont(QWidget* widget, const ControlFont& font) {
    static const ControlFont kDesign;
    QFont shown = widget->font();
    if (font.Name != kDesign.Name) shown.setFamily(ToScreen(font.Name));
    if (font.Size != kDesign.Size) shown.setPointSize(font.Size);
    shown.setBold(font.Bold);
    shown.setItalic(font.Italic);
    shown.setUnderline(font.Underline);
    widget->setFont(shown);
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, ToQColor(font.Color));
    palette.setColor(QPalette::Text, ToQColor(font.Color));
    widget->setPalette(palette);
}

// What every control shares: its widget is known to the window, follows its enabled and visible
// state, shows its hint and font, and drops its context menu on a right click.
void Common(FormWindow& window, Control& control, QWidget* widget) {
    window.Bind(control, widget);
    const bool page = dynamic_cast<TabSheet*>(&control) != nullptr;
    auto applied = std::make_shared<ControlFont>();
    window.OnRefresh([&control, widget, page, applied] {
        widget->setEnabled(control.Enabled);
        if (!page) widget->setVisible(control.Visible);
        widget->setToolTip(ToScreen(control.Hint));
        if (!(control.Font == *applied)) {
            ApplyFont(widget, control.Font);
            *applied = control.Font;
        }
    });
    if (control.ContextMenu) {
        widget->setContextMenuPolicy(Qt::CustomContextMenu);
        QObject::connect(widget, &QWidget::customContextMenuRequested,
                         [&window, &control, widget](const QPoint& at) {
                             window.Backend().SetMenuAnchor(widget->mapToGlobal(at));
                             window.Act([&control] { control.RightClick(); });
                         });
    }
}

void OnClick(FormWindow& window, QWidget* widget, const std::function<bool()>& click) {
    new EventHook(widget, [&window, click](QEvent* event) {
        if (event->type() != QEvent::MouseButtonRelease ||
            static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton)
            return false;
        window.Act([click] { click(); });
        return true;
    });
    widget->setCursor(Qt::PointingHandCursor);
}

QWidget* MakeLabel(FormWindow& window, Label& label) {
    auto* widget = new QLabel;
    const Qt::Alignment align = label.Align == Alignment::taCenter         ? Qt::AlignHCenter
                                : label.Align == Alignment::taRightJustify ? Qt::AlignRight
                                                                           : Qt::AlignLeft;
    widget->setAlignment(align | Qt::AlignVCenter);
    if (label.Cursor == crHandPoint) widget->setCursor(Qt::PointingHandCursor);
    if (label.OnClick) OnClick(window, widget, [&label] { return label.Click(); });
    window.OnRefresh([widget, &label] { widget->setText(ToScreen(label.Caption, label.Font)); });
    return widget;
}

// Forgets the sizes a layout and the layouts inside it have worked out.
void Invalidate(QLayout* layout) {
    layout->invalidate();
    for (int i = 0; i < layout->count(); ++i)
        if (QLayout* inner = layout->itemAt(i)->layout()) Invalidate(inner);
}

// A group box as wide as its content and its title need. The style's own minimum leaves a wide
// margin beside the title, which the forms' designs do not have.
void FitTitle(QGroupBox* box) {
    constexpr int kTitleRoom = 16;
    if (box->layout()) Invalidate(box->layout());
    const QMargins margins = box->contentsMargins();
    const int content =
        box->layout() ? box->layout()->minimumSize().width() + margins.left() + margins.right() : 0;
    box->setMinimumWidth(
        std::max(content, box->fontMetrics().horizontalAdvance(box->title()) + kTitleRoom));
}

QWidget* MakeGroupBox(FormWindow& window, GroupBox& box) {
    auto* widget = new QGroupBox;
    window.OnRefresh([widget, &box] { widget->setTitle(ToScreen(box.Caption)); });
    window.AfterRefresh([widget] { FitTitle(widget); });
    return widget;
}

QFrame::Shadow ShadowOf(Bevel bevel) {
    return bevel == Bevel::bvLowered ? QFrame::Sunken : QFrame::Raised;
}

QWidget* MakePanel(FormWindow& window, Panel& panel) {
    auto* widget = new QFrame;
    if (panel.BevelOuter == Bevel::bvNone && panel.BevelInner == Bevel::bvNone) {
        widget->setFrameShape(QFrame::NoFrame);
    } else {
        const Bevel outer = panel.BevelOuter != Bevel::bvNone ? panel.BevelOuter : panel.BevelInner;
        widget->setFrameStyle(QFrame::Panel | ShadowOf(outer));
        widget->setLineWidth(
            panel.BevelOuter != Bevel::bvNone && panel.BevelInner != Bevel::bvNone ? 2 : 1);
    }
    if (panel.OnClick) OnClick(window, widget, [&panel] { return panel.Click(); });
    window.OnRefresh([widget, &panel] {
        const bool coloured = panel.Color != clBtnFace;
        widget->setAutoFillBackground(coloured);
        if (coloured) {
            QPalette palette = widget->palette();
            palette.setColor(QPalette::Window, ToQColor(panel.Color));
            widget->setPalette(palette);
        }
    });
    return widget;
}

// A mask of the toolkit ('0' a required digit, '9' an optional one, '\' a literal next, ';'
// the end) as a Qt input mask, whose digit letters are the other way round.
QString InputMask(const std::string& mask) {
    static const QString kSpecial = QStringLiteral("AaNnXx90Dd#HhBb><![]{}\\");
    QString qt;
    for (std::size_t i = 0; i < mask.size() && mask[i] != ';'; ++i) {
        const char c = mask[i];
        if (c == '0') {
            qt += '9';
        } else if (c == '9') {
            qt += '0';
        } else {
            const char literal = (c == '\\' && i + 1 < mask.size()) ? mask[++i] : c;
            const QString shown = ToScreen(std::string(1, literal));
            if (kSpecial.contains(shown)) qt += '\\';
            qt += shown;
        }
    }
    return qt.isEmpty() ? qt : qt + QStringLiteral(";_");
}

QWidget* MakeEdit(FormWindow& window, Edit& edit) {
    auto* widget = new QLineEdit;
    auto* masked = dynamic_cast<MaskEdit*>(&edit);
    if (masked) widget->setInputMask(InputMask(masked->EditMask()));
    // A masked edit's text keeps one character per position, blanks included.
    const auto typed = [widget, masked] {
        return FromScreen(masked ? widget->displayText() : widget->text());
    };
    QObject::connect(widget, &QLineEdit::textEdited, [&window, &edit, typed] {
        const std::string text = typed();
        window.Act([&edit, &text] { edit.Type(text); });
    });
    window.OnRefresh([widget, &edit, masked] {
        widget->setReadOnly(edit.ReadOnly);
        std::string shown = edit.Text;
        if (masked)
            for (char& c : shown)
                if (c == ' ') c = '_';
        const QString text = ToScreen(shown, edit.Font);
        if ((masked ? widget->displayText() : widget->text()) != text) {
            const QSignalBlocker quiet(widget);
            widget->setText(text);
        }
    });
    return widget;
}

QWidget* MakeCheckBox(FormWindow& window, CheckBox& box) {
    auto* widget = new QCheckBox;
    QObject::connect(widget, &QCheckBox::clicked,
                     [&window, &box] { window.Act([&box] { box.Click(); }); });
    window.OnRefresh([widget, &box] {
        widget->setText(ToScreen(box.Caption));
        widget->setChecked(box.Checked);
    });
    return widget;
}

QWidget* MakeRadioGroup(FormWindow& window, RadioGroup& group) {
    auto* widget = new QGroupBox;
    auto* column = new QVBoxLayout(widget);
    column->setSpacing(0);
    column->setContentsMargins(4, 1, 4, 1);
    auto buttons = std::make_shared<std::vector<QRadioButton*>>();
    auto items = std::make_shared<std::vector<std::string>>();
    window.OnRefresh([&window, widget, column, &group, buttons, items] {
        widget->setTitle(ToScreen(group.Caption));
        if (*items != group.Items()) {
            for (QRadioButton* button : *buttons) delete button;
            buttons->clear();
            *items = group.Items();
            for (int i = 0; i < group.Count(); ++i) {
                auto* button =
                    new QRadioButton(ToScreen(group.Items()[static_cast<std::size_t>(i)]));
                button->setAutoExclusive(false);  // the control says which one is chosen
                // Radio groups are designed with their items close together.
                button->setStyleSheet(
                    QStringLiteral("QRadioButton { padding: 0px; margin: 0px; } "
                                   "QRadioButton::indicator { width: 12px; height: 12px; }"));
                button->setFont(widget->font());  // a style sheet would take the application's
                column->addWidget(button);
                QObject::connect(button, &QRadioButton::clicked, [&window, &group, i] {
                    window.Act([&group, i] { group.Select(i); });
                });
                // The arrow keys choose inside the group, and the chosen item keeps the focus.
                new EventHook(button, [&window, &group, buttons](QEvent* event) {
                    if (event->type() != QEvent::KeyPress) return false;
                    const int key = static_cast<QKeyEvent*>(event)->key();
                    const int step = (key == Qt::Key_Down || key == Qt::Key_Right) ? 1
                                     : (key == Qt::Key_Up || key == Qt::Key_Left)  ? -1
                                                                                   : 0;
                    if (step == 0) return false;
                    window.Act([&group, step] { group.PressArrow(step); });
                    const int chosen = group.ItemIndex();
                    if (chosen >= 0 && chosen < static_cast<int>(buttons->size()))
                        (*buttons)[static_cast<std::size_t>(chosen)]->setFocus(Qt::TabFocusReason);
                    return true;
                });
                buttons->push_back(button);
            }
        }
        // The group is one stop of the Tab key: its chosen item, or the first when none is.
        const int stop = std::max(group.ItemIndex(), 0);
        for (int i = 0; i < static_cast<int>(buttons->size()); ++i) {
            QRadioButton* button = (*buttons)[static_cast<std::size_t>(i)];
            button->setChecked(i == group.ItemIndex());
            button->setFocusPolicy(i == stop ? Qt::StrongFocus : Qt::ClickFocus);
        }
    });
    window.AfterRefresh([widget] { FitTitle(widget); });
    return widget;
}

QWidget* MakeListBox(FormWindow& window, ListBox& list) {
    auto* widget = new QListWidget;
    auto* checks = dynamic_cast<CheckListBox*>(&list);
    QObject::connect(widget, &QListWidget::currentRowChanged, [&window, &list](int row) {
        if (row >= 0 && row != list.ItemIndex()) window.Act([&list, row] { list.ClickItem(row); });
    });
    if (checks) {
        QObject::connect(widget, &QListWidget::itemChanged,
                         [&window, widget, checks](QListWidgetItem* item) {
                             const int row = widget->row(item);
                             if ((item->checkState() == Qt::Checked) != checks->Checked(row))
                                 window.Act([checks, row] { checks->ClickCheck(row); });
                         });
    }
    window.OnRefresh([widget, &list, checks] {
        const QSignalBlocker quiet(widget);
        bool same = widget->count() == list.Count();
        for (int i = 0; same && i < list.Count(); ++i)
            same = widget->item(i)->text() ==
                   ToScreen(list.Items()[static_cast<std::size_t>(i)], list.Font);
        if (!same) {
            widget->clear();
            for (const std::string& text : list.Items()) {
                auto* item = new QListWidgetItem(ToScreen(text, list.Font), widget);
                if (checks) item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            }
        }
        if (checks)
            for (int i = 0; i < list.Count(); ++i)
                widget->item(i)->setCheckState(checks->Checked(i) ? Qt::Checked : Qt::Unchecked);
        widget->setCurrentRow(list.ItemIndex());
    });
    return widget;
}

QWidget* MakeComboBox(FormWindow& window, ComboBox& combo) {
    auto* widget = new QComboBox;
    QObject::connect(widget, &QComboBox::activated, [&window, &combo](int index) {
        window.Act([&combo, index] { combo.Select(index); });
    });
    auto items = std::make_shared<std::vector<std::string>>();
    auto drawn = std::make_shared<bool>(false);
    window.OnRefresh([widget, &combo, items, drawn] {
        const QSignalBlocker quiet(widget);
        if (*items != combo.Items() || (combo.DrawsItems() && !*drawn)) {
            *items = combo.Items();
            widget->clear();
            if (combo.DrawsItems()) {
                // Owner-drawn items are their pictures, as wide as the list leaves room for.
                const int width = widget->minimumWidth() > 40 ? widget->minimumWidth() - 32
                                                              : kOwnerDrawnItemWidth;
                widget->setIconSize(QSize(width, kOwnerDrawnItemHeight));
                for (int i = 0; i < combo.Count(); ++i)
                    widget->addItem(PaintPicture(width, kOwnerDrawnItemHeight,
                                                 [&combo, i](HDC dc, const DcRect& rect) {
                                                     combo.PaintItem(dc, i, rect);
                                                 }),
                                    QString());
                *drawn = true;
            } else {
                for (const std::string& text : combo.Items()) widget->addItem(ToScreen(text));
            }
        }
        widget->setCurrentIndex(combo.ItemIndex());
    });
    return widget;
}

QWidget* MakeButton(FormWindow& window, Button& button) {
    auto* widget = new QPushButton;
    widget->setAutoDefault(false);
    widget->setDefault(button.Default);
    QObject::connect(widget, &QPushButton::clicked,
                     [&window, &button] { window.Act([&button] { button.Click(); }); });
    window.OnRefresh([widget, &button] { widget->setText(ToScreen(button.Caption)); });
    return widget;
}

// A widget whose parts sit edge to edge in a box layout.
template <class Box>
Box* Tight(QWidget* widget) {
    auto* box = new Box(widget);
    box->setContentsMargins(0, 0, 0, 0);
    box->setSpacing(0);
    return box;
}

QWidget* MakeUpDown(FormWindow& window, UpDown& updown) {
    auto* widget = new QWidget;
    auto* column = Tight<QVBoxLayout>(widget);
    for (const bool up : {true, false}) {
        auto* arrow = new QToolButton(widget);
        arrow->setArrowType(up ? Qt::UpArrow : Qt::DownArrow);
        arrow->setFixedSize(16, 11);
        column->addWidget(arrow);
        QObject::connect(arrow, &QToolButton::clicked, [&window, &updown, up] {
            window.Act([&updown, up] { up ? updown.ClickUp() : updown.ClickDown(); });
        });
    }
    return widget;
}

// A grid that paints itself shows its picture at the size the layout gives it, painted again
// when it asks for a repaint or gets a new size.
QWidget* MakePaintedGrid(FormWindow& window, StringGrid& grid) {
    auto* widget = new QLabel;
    widget->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    widget->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    const auto paint = [widget, &grid] {
        if (widget->width() <= 0 || widget->height() <= 0) return;
        widget->setPixmap(
            PaintPicture(widget->width(), widget->height(),
                         [&grid](HDC dc, const DcRect& rect) { grid.Paint(dc, rect); }));
    };
    new EventHook(widget, [&window, paint](QEvent* event) {
        if (event->type() == QEvent::Resize) window.Backend().Guard(paint);
        return false;
    });
    auto painted = std::make_shared<int>(grid.Repaints());
    window.OnRefresh([&grid, painted, paint] {
        if (*painted == grid.Repaints()) return;
        *painted = grid.Repaints();
        paint();
    });
    return widget;
}

QWidget* MakeStringGrid(FormWindow& window, StringGrid& grid) {
    if (grid.DrawsItself()) return MakePaintedGrid(window, grid);
    auto* widget = new QTableWidget(grid.RowCount(), grid.ColCount());
    widget->horizontalHeader()->hide();
    widget->verticalHeader()->hide();
    widget->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    widget->verticalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    widget->horizontalHeader()->setMinimumSectionSize(4);
    widget->verticalHeader()->setMinimumSectionSize(4);
    widget->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    widget->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    widget->setEditTriggers(QAbstractItemView::NoEditTriggers);
    widget->setSelectionMode(QAbstractItemView::SingleSelection);
    QObject::connect(widget, &QTableWidget::currentCellChanged, [&window, &grid](int row, int col) {
        if (row < 0 || col < 0 || (row == grid.Row() && col == grid.Col())) return;
        window.Act([&grid, row, col] { grid.SelectCell(col, row); });
    });
    window.OnRefresh([widget, &grid] {
        const QSignalBlocker quiet(widget);
        for (int row = 0; row < grid.RowCount(); ++row) {
            for (int col = 0; col < grid.ColCount(); ++col) {
                const QString text = ToScreen(grid.Cell(col, row), grid.Font);
                QTableWidgetItem* item = widget->item(row, col);
                if (!item) {
                    item = new QTableWidgetItem;
                    item->setTextAlignment(Qt::AlignCenter);
                    widget->setItem(row, col, item);
                }
                if (item->text() != text) item->setText(text);
            }
        }
        widget->setCurrentCell(grid.Row(), grid.Col());
    });
    return widget;
}

QIcon ButtonIcon(const ToolBar* bar, int index) {
    QIcon icon;
    if (!bar || !bar->Images || index < 0) return icon;
    const auto picture = [index](const ImageList* list) {
        QPixmap pixmap;
        if (list && index < static_cast<int>(list->Pictures.size())) {
            const std::string_view png =
                BuiltInPicture(list->Pictures[static_cast<std::size_t>(index)]);
            pixmap.loadFromData(reinterpret_cast<const uchar*>(png.data()),
                                static_cast<uint>(png.size()), "PNG");
        }
        return pixmap;
    };
    const QPixmap normal = picture(bar->Images);
    if (!normal.isNull()) icon.addPixmap(normal, QIcon::Normal);
    const QPixmap hot = picture(bar->HotImages);
    if (!hot.isNull()) icon.addPixmap(hot, QIcon::Active);
    return icon;
}

QWidget* MakeToolButton(FormWindow& window, ToolButton& button) {
    const auto* bar = dynamic_cast<const ToolBar*>(button.Parent);
    auto* widget = new QToolButton;
    widget->setAutoRaise(!bar || bar->Flat);
    widget->setIcon(ButtonIcon(bar, button.ImageIndex));
    if (bar) {
        if (bar->Images) widget->setIconSize(QSize(bar->Images->Width, bar->Images->Height));
        widget->setFixedSize(bar->ButtonWidth, bar->ButtonHeight);
    }
    QObject::connect(widget, &QToolButton::clicked, [&window, &button, widget] {
        window.Backend().SetMenuAnchor(widget->mapToGlobal(QPoint(0, widget->height())));
        window.Act([&button] { button.Click(); });
    });
    window.OnRefresh([widget, &button] { widget->setText(ToScreen(button.Caption)); });
    return widget;
}

QWidget* MakeToolBar(FormWindow& window, ToolBar& bar) {
    auto* widget = new QWidget;
    auto* row = Tight<QHBoxLayout>(widget);
    for (ToolButton* button : bar.Buttons()) row->addWidget(MakeControlWidget(window, *button));
    row->addStretch(1);
    return widget;
}

QWidget* MakeWidget(FormWindow& window, Control& control) {
    if (auto* edit = dynamic_cast<Edit*>(&control)) return MakeEdit(window, *edit);
    if (auto* list = dynamic_cast<ListBox*>(&control)) return MakeListBox(window, *list);
    if (auto* group = dynamic_cast<RadioGroup*>(&control)) return MakeRadioGroup(window, *group);
    if (auto* combo = dynamic_cast<ComboBox*>(&control)) return MakeComboBox(window, *combo);
    if (auto* box = dynamic_cast<CheckBox*>(&control)) return MakeCheckBox(window, *box);
    if (auto* label = dynamic_cast<Label*>(&control)) return MakeLabel(window, *label);
    if (auto* box = dynamic_cast<GroupBox*>(&control)) return MakeGroupBox(window, *box);
    if (auto* panel = dynamic_cast<Panel*>(&control)) return MakePanel(window, *panel);
    if (dynamic_cast<PageControl*>(&control)) return new QTabWidget;
    if (auto* button = dynamic_cast<Button*>(&control)) return MakeButton(window, *button);
    if (auto* updown = dynamic_cast<UpDown*>(&control)) return MakeUpDown(window, *updown);
    if (auto* grid = dynamic_cast<StringGrid*>(&control)) return MakeStringGrid(window, *grid);
    if (auto* bar = dynamic_cast<ToolBar*>(&control)) return MakeToolBar(window, *bar);
    if (auto* button = dynamic_cast<ToolButton*>(&control)) return MakeToolButton(window, *button);
    return new QWidget;  // a tab sheet, or a control with nothing to show
}

}  // namespace

QWidget* MakeControlWidget(FormWindow& window, Control& control) {
    QWidget* widget = MakeWidget(window, control);
    Common(window, control, widget);
    return widget;
}

void BindPages(FormWindow& window, PageControl& pages, QTabWidget& tabs) {
    QObject::connect(&tabs, &QTabWidget::currentChanged, [&window, &pages](int index) {
        const auto& all = pages.Pages();
        if (index < 0 || index >= static_cast<int>(all.size())) return;
        TabSheet* page = all[static_cast<std::size_t>(index)];
        if (page != pages.ActivePage()) window.Act([&pages, page] { pages.SelectPage(*page); });
    });
    window.OnRefresh([&tabs, &pages] {
        const QSignalBlocker quiet(&tabs);
        const auto& all = pages.Pages();
        for (int i = 0; i < static_cast<int>(all.size()) && i < tabs.count(); ++i) {
            const TabSheet* page = all[static_cast<std::size_t>(i)];
            tabs.setTabText(i, ToScreen(page->Caption));
            tabs.setTabVisible(i, page->TabVisible());
        }
        tabs.setCurrentIndex(pages.ActivePageIndex());
    });
}

}  // namespace platform::qt
