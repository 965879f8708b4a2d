#include "platform/Controls.h"

#include <algorithm>
#include <cctype>

#include "platform/Form.h"
#include "platform/FormBackend.h"

namespace platform {
namespace {

void Fire(const Event& event) {
    if (event) event();
}

}  // namespace

bool Control::Reachable() const {
    for (const Control* control = this; control; control = control->Parent)
        if (!control->Visible || !control->Enabled) return false;
    return true;
}

bool Control::RightClick() {
    if (!Reachable() || !ContextMenu) return false;
    ContextMenu->Popup();
    return true;
}

bool Label::Click() {
    if (!Reachable()) return false;
    Fire(OnClick);
    return true;
}

bool Panel::Click() {
    if (!Reachable()) return false;
    Fire(OnClick);
    return true;
}

bool Edit::Type(const std::string& text) {
    if (!Reachable() || ReadOnly) return false;
    Text = text;
    Fire(OnChange);
    return true;
}

MaskEdit::MaskEdit(std::string mask) {
    SetEditMask(mask);
}

void MaskEdit::SetEditMask(const std::string& mask) {
    mask_ = mask;
    positions_.clear();
    for (std::size_t i = 0; i < mask.size() && mask[i] != ';'; ++i) {
        const char c = mask[i];
        if (c == '\\' && i + 1 < mask.size())
            positions_.push_back({mask[++i], false});
        else if (c == '0' || c == '9')
            positions_.push_back({0, c == '0'});
        else
            positions_.push_back({c, false});
    }
    SetText(Text);
}

void MaskEdit::SetText(const std::string& text) {
    if (positions_.empty()) {
        Text = text;
        return;
    }
    std::string fitted;
    std::size_t next = 0;
    for (const Position& position : positions_) {
        const bool more = next < text.size();
        if (position.literal) {
            fitted += position.literal;
            if (more && text[next] == position.literal) ++next;
        } else {
            const bool digit = more && std::isdigit(static_cast<unsigned char>(text[next]));
            fitted += digit ? text[next] : ' ';
            if (more) ++next;
        }
    }
    Text = fitted;
}

bool MaskEdit::Type(const std::string& text) {
    if (!Reachable() || ReadOnly) return false;
    SetText(text);
    Fire(OnChange);
    return true;
}

bool MaskEdit::IsComplete() const {
    for (std::size_t i = 0; i < positions_.size() && i < Text.size(); ++i)
        if (!positions_[i].literal && positions_[i].required && Text[i] == ' ') return false;
    return Text.size() >= positions_.size();
}

bool CheckBox::Click() {
    if (!Reachable()) return false;
    Checked = !Checked;
    Fire(OnClick);
    return true;
}

void ItemList::SetItems(std::vector<std::string> items) {
    items_ = std::move(items);
    itemIndex_ = -1;
    ItemsReset();
}

void ItemList::AddItem(std::string item) {
    items_.push_back(std::move(item));
    ItemAdded();
}

void ItemList::DeleteItem(int index) {
    if (index < 0 || index >= Count()) return;
    items_.erase(items_.begin() + index);
    if (itemIndex_ == index)
        itemIndex_ = -1;
    else if (itemIndex_ > index)
        --itemIndex_;
    ItemDeleted(index);
}

void ItemList::MoveItem(int from, int to) {
    if (from < 0 || from >= Count() || to < 0 || to >= Count() || from == to) return;
    std::string item = std::move(items_[static_cast<std::size_t>(from)]);
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, std::move(item));
    if (itemIndex_ == from)
        itemIndex_ = to;
    else if (from < itemIndex_ && itemIndex_ <= to)
        --itemIndex_;
    else if (to <= itemIndex_ && itemIndex_ < from)
        ++itemIndex_;
    ItemsMoved(from, to);
}

void ItemList::ExchangeItems(int a, int b) {
    if (a < 0 || a >= Count() || b < 0 || b >= Count() || a == b) return;
    // Two moves keep the per-item data of derived lists in step without a hook of their own.
    const int low = std::min(a, b);
    const int high = std::max(a, b);
    MoveItem(high, low);
    MoveItem(low + 1, high);
}

int ItemList::IndexOf(const std::string& item) const {
    const auto found = std::find(items_.begin(), items_.end(), item);
    return found == items_.end() ? -1 : static_cast<int>(found - items_.begin());
}

void ItemList::SetItemIndex(int index) {
    itemIndex_ = (index >= 0 && index < Count()) ? index : -1;
}

std::string ItemList::SelectedText() const {
    return itemIndex_ < 0 ? std::string() : items_[static_cast<std::size_t>(itemIndex_)];
}

RadioGroup::RadioGroup(std::string caption, std::vector<std::string> items)
    : Caption(std::move(caption)) {
    SetItems(std::move(items));
}

void RadioGroup::SetItemIndex(int index) {
    ItemList::SetItemIndex(std::min(index, Count() - 1));
}

bool RadioGroup::Select(int index) {
    if (!Reachable() || index < 0 || index >= Count()) return false;
    SetItemIndex(index);
    Fire(OnClick);
    return true;
}

bool RadioGroup::PressArrow(int step) {
    if (Count() == 0) return false;
    const int from = ItemIndex() >= 0 ? ItemIndex() : (step > 0 ? -1 : 0);
    return Select(((from + step) % Count() + Count()) % Count());
}

bool ListBox::ClickItem(int index) {
    if (!Reachable() || index < 0 || index >= Count()) return false;
    SetItemIndex(index);
    Fire(OnClick);
    return true;
}

bool CheckListBox::Checked(int index) const {
    return index >= 0 && index < Count() && checked_[static_cast<std::size_t>(index)];
}

void CheckListBox::SetChecked(int index, bool checked) {
    if (index >= 0 && index < Count()) checked_[static_cast<std::size_t>(index)] = checked;
}

bool CheckListBox::ClickCheck(int index) {
    if (!Reachable() || index < 0 || index >= Count()) return false;
    SetItemIndex(index);
    SetChecked(index, !Checked(index));
    Fire(OnClickCheck);
    Fire(OnClick);
    return true;
}

void CheckListBox::ItemsMoved(int from, int to) {
    const bool mark = checked_[static_cast<std::size_t>(from)];
    checked_.erase(checked_.begin() + from);
    checked_.insert(checked_.begin() + to, mark);
}

void CheckListBox::ItemDeleted(int index) {
    checked_.erase(checked_.begin() + index);
}

void CheckListBox::ItemsReset() {
    checked_.assign(static_cast<std::size_t>(Count()), false);
}

void CheckListBox::ItemAdded() {
    checked_.push_back(false);
}

bool ComboBox::Select(int index) {
    if (!Reachable() || index < 0 || index >= Count()) return false;
    SetItemIndex(index);
    Fire(OnChange);
    return true;
}

void PageControl::AddPage(TabSheet& page) {
    page.Parent = this;
    pages_.push_back(&page);
    if (!active_) active_ = &page;
}

int PageControl::ActivePageIndex() const {
    const auto found = std::find(pages_.begin(), pages_.end(), active_);
    return found == pages_.end() ? -1 : static_cast<int>(found - pages_.begin());
}

void PageControl::SetActivePage(TabSheet* page) {
    if (!page || std::find(pages_.begin(), pages_.end(), page) != pages_.end()) active_ = page;
}

bool PageControl::SelectPage(TabSheet& page) {
    if (!Reachable() || !page.TabVisible() ||
        std::find(pages_.begin(), pages_.end(), &page) == pages_.end())
        return false;
    active_ = &page;
    Fire(OnChange);
    return true;
}

Button::Button(Form& owner, std::string caption, int modalResult)
    : Caption(std::move(caption)), ModalResult(modalResult), owner_(owner) {
    owner_.RegisterButton(this);
}

bool Button::Click() {
    if (!Reachable()) return false;
    Fire(OnClick);
    if (ModalResult != mrNone) owner_.SetModalResult(ModalResult);
    return true;
}

void UpDown::SetPosition(int position) {
    position_ = std::clamp(position, Min, std::max(Min, Max));
    if (Associate) Associate->Text = std::to_string(position_);
}

bool UpDown::Step(int delta) {
    if (!Reachable()) return false;
    SetPosition(position_ + delta);
    if (Associate) Fire(Associate->OnChange);
    Fire(OnClick);
    return true;
}

StringGrid::StringGrid(int colCount, int rowCount)
    : colCount_(std::max(colCount, 1)),
      rowCount_(std::max(rowCount, 1)),
      cells_(static_cast<std::size_t>(colCount_) * static_cast<std::size_t>(rowCount_)) {}

bool StringGrid::Inside(int col, int row) const {
    return col >= 0 && col < colCount_ && row >= 0 && row < rowCount_;
}

const std::string& StringGrid::Cell(int col, int row) const {
    static const std::string kNone;
    if (!Inside(col, row)) return kNone;
    return cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(colCount_) +
                  static_cast<std::size_t>(col)];
}

void StringGrid::SetCell(int col, int row, std::string text) {
    if (!Inside(col, row)) return;
    cells_[static_cast<std::size_t>(row) * static_cast<std::size_t>(colCount_) +
           static_cast<std::size_t>(col)] = std::move(text);
}

void StringGrid::SetSelection(int col, int row) {
    if (!Inside(col, row)) return;
    col_ = col;
    row_ = row;
}

bool StringGrid::SelectCell(int col, int row) {
    if (!Reachable() || !Inside(col, row)) return false;
    bool canSelect = true;
    if (OnSelectCell) OnSelectCell(col, row, canSelect);
    if (!canSelect) return false;
    col_ = col;
    row_ = row;
    return true;
}

bool MenuItem::Click() {
    if (IsSeparator() || !Enabled || !Visible) return false;
    Fire(OnClick);
    return true;
}

MenuItem* PopupMenu::Popup() {
    MenuItem* item = FormService::Backend().TrackPopupMenu(*this);
    if (item) item->Click();
    return item;
}

ToolButton::ToolButton(std::string hint, int imageIndex) : ImageIndex(imageIndex) {
    Hint = std::move(hint);
}

bool ToolButton::Click() {
    if (!Reachable()) return false;
    if (DropdownMenu) DropdownMenu->Popup();
    Fire(OnClick);
    return true;
}

void ToolBar::AddButton(ToolButton& button) {
    button.Parent = this;
    buttons_.push_back(&button);
}

}  // namespace platform
