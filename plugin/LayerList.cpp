#include "plugin/LayerList.h"

#include <utility>

namespace {

const std::string kNoText;

std::size_t NameStart(std::string_view fileName) {
    const std::size_t slash = fileName.find_last_of("/\\");
    return slash == std::string_view::npos ? 0 : slash + 1;
}

}  // namespace

const std::string& TLayerList::Strings(int index) const {
    return Inside(index) ? items_[static_cast<std::size_t>(index)].text : kNoText;
}

TSHPLayer* TLayerList::Objects(int index) const {
    return Inside(index) ? items_[static_cast<std::size_t>(index)].layer.get() : nullptr;
}

void TLayerList::AddObject(std::string text, std::unique_ptr<TSHPLayer> layer) {
    items_.push_back({std::move(text), std::move(layer)});
}

void TLayerList::Delete(int index) {
    if (!Inside(index)) return;
    // The item leaves the list before its layer goes, so the list stays whole whatever the
    // layer's destruction does.
    Item item = std::move(items_[static_cast<std::size_t>(index)]);
    items_.erase(items_.begin() + index);
}

void TLayerList::Move(int from, int to) {
    if (!Inside(from) || !Inside(to) || from == to) return;
    Item item = std::move(items_[static_cast<std::size_t>(from)]);
    items_.erase(items_.begin() + from);
    items_.insert(items_.begin() + to, std::move(item));
}

void TLayerList::Exchange(int a, int b) {
    if (!Inside(a) || !Inside(b)) return;
    std::swap(items_[static_cast<std::size_t>(a)], items_[static_cast<std::size_t>(b)]);
}

std::string LayerDisplayName(std::string_view fileName) {
    return std::string(fileName.substr(NameStart(fileName)));
}

std::string UpperFileExt(std::string_view fileName) {
    const std::string_view name = fileName.substr(NameStart(fileName));
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string_view::npos) return {};
    std::string ext(name.substr(dot));
    for (char& c : ext)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return ext;
}
