#include "platform/accessworker/AccessTableCache.h"

#include "platform/IniNames.h"
#include "platform/NumberText.h"

namespace platform {
namespace {

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

}  // namespace

AccessTableCache::AccessTableCache(const std::string& path)
    : path_(path), reader_(std::make_unique<AccessReader>(path)) {
    ::stat(reader_->OsFileName().c_str(), &identity_);
}

void AccessTableCache::Refresh() {
    struct stat now {};
    const bool same = reader_ != nullptr && ::stat(reader_->OsFileName().c_str(), &now) == 0 &&
                      SameFile(now, identity_);
    if (same) return;
    tables_.clear();
    reader_.reset();
    reader_ = std::make_unique<AccessReader>(path_);
    ::stat(reader_->OsFileName().c_str(), &identity_);
}

std::vector<std::string> AccessTableCache::Tables() {
    Refresh();
    return reader_->Tables();
}

AccessTableCache::Held* AccessTableCache::Hold(const std::string& name) {
    Refresh();
    auto found = tables_.find(name);
    if (found != tables_.end()) return found->second.get();
    auto columns = reader_->Columns(name);
    if (!columns) return nullptr;
    auto held = std::make_unique<Held>();
    Table& table = held->table;
    table.columns = std::move(*columns);
    table.rows = AccessRows(table.columns.size());
    const bool read = reader_->Scan(name, [&](std::vector<std::string>&& row) {
        if (row.size() != table.columns.size()) return;
        for (const std::string& cell : row) table.rows.Add(cell);
    });
    if (!read) return nullptr;
    return tables_.emplace(name, std::move(held)).first->second.get();
}

const AccessTableCache::Table* AccessTableCache::Find(const std::string& name) {
    Held* held = Hold(name);
    return held == nullptr ? nullptr : &held->table;
}

std::vector<std::uint32_t> AccessTableCache::Select(const std::string& name, int column,
                                                    std::string_view key) {
    std::vector<std::uint32_t> rows;
    Held* held = Hold(name);
    if (held == nullptr) return rows;
    const Table& table = held->table;
    if (column < 0) {
        for (std::size_t r = 0; r < table.rows.Count(); ++r)
            rows.push_back(static_cast<std::uint32_t>(r));
        return rows;
    }
    const auto c = static_cast<std::size_t>(column);
    if (c >= table.columns.size()) return rows;
    if (table.columns[c].numeric) {
        const std::optional<double> wanted = StrToFloatStrict(IniTrim(key));
        if (!wanted) return rows;
        auto [index, added] = held->numbers.try_emplace(column);
        if (added) {
            for (std::size_t r = 0; r < table.rows.Count(); ++r) {
                if (auto value = StrToFloatStrict(IniTrim(table.rows.Value(r, c))))
                    index->second[*value].push_back(static_cast<std::uint32_t>(r));
            }
        }
        auto hit = index->second.find(*wanted);
        return hit == index->second.end() ? rows : hit->second;
    }
    auto [index, added] = held->text.try_emplace(column);
    if (added) {
        for (std::size_t r = 0; r < table.rows.Count(); ++r) {
            index->second[IniFoldName(table.rows.Value(r, c))].push_back(
                static_cast<std::uint32_t>(r));
        }
    }
    auto hit = index->second.find(IniFoldName(key));
    return hit == index->second.end() ? rows : hit->second;
}

}  // namespace platform
