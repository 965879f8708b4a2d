#include "platform/FormLayout.h"

#include <utility>

namespace platform {
namespace {

LayoutItem Arrangement(LayoutItem::Kind kind, std::vector<LayoutItem> items) {
    LayoutItem item(kind);
    item.items = std::move(items);
    return item;
}

}  // namespace

LayoutItem Column(std::vector<LayoutItem> items) {
    return Arrangement(LayoutItem::Kind::Column, std::move(items));
}

LayoutItem Row(std::vector<LayoutItem> items) {
    return Arrangement(LayoutItem::Kind::Row, std::move(items));
}

LayoutItem Grid(int columns, std::vector<LayoutItem> items) {
    LayoutItem item = Arrangement(LayoutItem::Kind::Grid, std::move(items));
    item.columns = columns < 1 ? 1 : columns;
    return item;
}

LayoutItem Stretch() {
    return LayoutItem(LayoutItem::Kind::Stretch);
}

LayoutItem Holding(Control& container, std::vector<LayoutItem> content) {
    return Holding(container, Column(std::move(content)));
}

LayoutItem Holding(Control& container, LayoutItem arrangement) {
    LayoutItem item(container);
    item.items.push_back(std::move(arrangement));
    return item;
}

LayoutItem Sized(LayoutItem item, int width, int height) {
    item.width = width;
    item.height = height;
    return item;
}

}  // namespace platform
