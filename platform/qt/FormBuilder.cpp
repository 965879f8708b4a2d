#include "platform/qt/FormBuilder.h"

#include <QBoxLayout>
#include <QGridLayout>
#include <QTabWidget>
#include <algorithm>
#include <unordered_map>

#include "platform/Controls.h"
#include "platform/qt/ControlWidgets.h"
#include "platform/qt/FormWindow.h"

namespace platform::qt {
namespace {

constexpr int kWindowMargin = 6;
constexpr int kContainerMargin = 5;
constexpr int kSpacing = 6;

QLayout* Arrange(FormWindow& window, const LayoutItem& item);

// What a container holds: its one arrangement, or its items in a column.
LayoutItem ContentOf(const LayoutItem& item) {
    if (item.items.size() == 1) return item.items.front();
    return Column(item.items);
}

void FixSize(QWidget* widget, const LayoutItem& item) {
    if (item.width > 0) widget->setFixedWidth(item.width);
    if (item.height > 0) widget->setFixedHeight(item.height);
}

QWidget* Build(FormWindow& window, const LayoutItem& item) {
    QWidget* widget = MakeControlWidget(window, *item.control);
    if (auto* pages = dynamic_cast<PageControl*>(item.control)) {
        // Tabs go in the control's page order, which its widget's tab indexes follow.
        std::unordered_map<const Control*, QWidget*> built;
        for (const LayoutItem& page : ContentOf(item).items)
            if (page.kind == LayoutItem::Kind::Control) built[page.control] = Build(window, page);
        auto* tabs = static_cast<QTabWidget*>(widget);
        for (TabSheet* page : pages->Pages()) {
            const auto found = built.find(page);
            QWidget* sheet =
                found != built.end() ? found->second : MakeControlWidget(window, *page);
            tabs->addTab(sheet, QString());
        }
        BindPages(window, *pages, *tabs);
    } else if (!item.items.empty()) {
        // A container holding one control is filled by it.
        const LayoutItem content = ContentOf(item);
        const int margin = content.kind == LayoutItem::Kind::Control ? 0 : kContainerMargin;
        QLayout* layout = Arrange(window, content);
        layout->setContentsMargins(margin, margin, margin, margin);
        widget->setLayout(layout);
    }
    FixSize(widget, item);
    return widget;
}

void Place(FormWindow& window, QLayout* layout, const LayoutItem& item, int row, int column) {
    auto* box = dynamic_cast<QBoxLayout*>(layout);
    auto* grid = dynamic_cast<QGridLayout*>(layout);
    switch (item.kind) {
        case LayoutItem::Kind::Stretch:
            if (box) box->addStretch(1);
            return;
        case LayoutItem::Kind::Control: {
            QWidget* widget = Build(window, item);
            if (box) box->addWidget(widget);
            if (grid) grid->addWidget(widget, row, column);
            return;
        }
        default: {
            QLayout* inner = Arrange(window, item);
            inner->setContentsMargins(0, 0, 0, 0);
            if (box) box->addLayout(inner);
            if (grid) grid->addLayout(inner, row, column);
        }
    }
}

QLayout* Arrange(FormWindow& window, const LayoutItem& item) {
    QLayout* layout = nullptr;
    switch (item.kind) {
        case LayoutItem::Kind::Row:
            layout = new QHBoxLayout;
            break;
        case LayoutItem::Kind::Grid:
            layout = new QGridLayout;
            break;
        default:
            layout = new QVBoxLayout;
    }
    layout->setSpacing(kSpacing);
    if (item.kind == LayoutItem::Kind::Column || item.kind == LayoutItem::Kind::Row ||
        item.kind == LayoutItem::Kind::Grid) {
        const int columns = std::max(1, item.columns);  // only a grid has more than one
        int index = 0;
        for (const LayoutItem& child : item.items) {
            Place(window, layout, child, index / columns, index % columns);
            ++index;
        }
    } else {
        Place(window, layout, item, 0, 0);
    }
    return layout;
}

}  // namespace

void BuildForm(FormWindow& window, const LayoutItem& root) {
    // A form described as one control is filled by it.
    const int margin = root.kind == LayoutItem::Kind::Control ? 0 : kWindowMargin;
    QLayout* layout = Arrange(window, root);
    layout->setContentsMargins(margin, margin, margin, margin);
    window.setLayout(layout);
}

}  // namespace platform::qt
