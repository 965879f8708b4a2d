#include "platform/accessworker/AccessCatalogue.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace platform {
namespace {

// The head of a long value in its row: its length and kind, then where its bytes are.
constexpr std::size_t kLongValueHead = 12;
constexpr unsigned kInline = 0x80;      // the bytes follow the head in the row
constexpr unsigned kSinglePage = 0x40;  // the bytes are one row of a long-value page
// Otherwise a chain of rows, each starting with the link to the next (0 ends it).
constexpr unsigned kRowOffsetMask = 0x1FFF;
// No property block of a real database comes near this; a longer one is a chain that loops.
constexpr std::size_t kMaxPropertyBytes = std::size_t{1} << 20;
// The page of the catalogue table's definition.
constexpr unsigned long kCataloguePage = 2;

unsigned U16(const unsigned char* p) {
    return p[0] | (p[1] << 8);
}

std::uint32_t U32(const unsigned char* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

struct TableDefFree {
    void operator()(MdbTableDef* def) const { mdb_free_tabledef(def); }
};
using TableDefPtr = std::unique_ptr<MdbTableDef, TableDefFree>;

using Names = std::vector<std::string_view>;

// The names of a property block's name list: each a 16-bit length and that many bytes.
std::optional<Names> ReadNames(std::string_view list) {
    Names names;
    for (std::size_t pos = 0; pos < list.size();) {
        if (list.size() - pos < 2) return std::nullopt;
        const unsigned length = U16(reinterpret_cast<const unsigned char*>(list.data() + pos));
        pos += 2;
        if (length > list.size() - pos) return std::nullopt;
        names.push_back(list.substr(pos, length));
        pos += length;
    }
    return names;
}

// One property record: its length, a name of its own, then values that each give their length,
// the index of their name and the length of their data. A name given a second value is refused
// too: mdbtools would lose the first value's memory.
bool SoundProperties(std::string_view record, const Names& names) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(record.data());
    if (record.size() < 6) return false;
    std::size_t pos = 6;
    const unsigned nameLength = U16(bytes + 4);
    if (nameLength > record.size() - pos) return false;
    pos += nameLength;
    std::set<std::string_view> named;
    while (pos < record.size()) {
        if (record.size() - pos < 8) return false;
        const unsigned length = U16(bytes + pos);
        const unsigned name = U16(bytes + pos + 4);
        const unsigned dataLength = U16(bytes + pos + 6);
        if (length < 8 || length > record.size() - pos || dataLength > length - 8 ||
            name >= names.size() || !named.insert(names[name]).second)
            return false;
        pos += length;
    }
    return true;
}

// The row of a long-value page that `pageRow` (page number times 256 plus row) names, read into
// the handle's second page buffer; nothing when the page cannot be read or the row lies outside.
std::optional<std::string_view> LongValueRow(MdbHandle* mdb, std::uint32_t pageRow) {
    const auto pageSize = static_cast<std::size_t>(mdb->fmt->pg_size);
    if (mdb_read_alt_pg(mdb, pageRow >> 8) != mdb->fmt->pg_size) return std::nullopt;
    const unsigned row = pageRow & 0xFF;
    const std::size_t table = mdb->fmt->row_count_offset;
    const unsigned char* page = mdb->alt_pg_buf;
    if (table + 2 * (row + 2) > pageSize || row >= U16(page + table)) return std::nullopt;
    const std::size_t start = U16(page + table + 2 + 2 * row) & kRowOffsetMask;
    const std::size_t end = row == 0 ? pageSize : U16(page + table + 2 * row) & kRowOffsetMask;
    if (start > end || end > pageSize) return std::nullopt;
    return std::string_view(reinterpret_cast<const char*>(page) + start, end - start);
}

// The bytes of the long value whose head the column holds in the current row; nothing when they
// cannot be read whole.
std::optional<std::string> ReadLongValue(MdbHandle* mdb, const MdbColumn& column) {
    const auto pageSize = static_cast<std::size_t>(mdb->fmt->pg_size);
    if (column.cur_value_start < 0 || column.cur_value_len < static_cast<int>(kLongValueHead))
        return std::nullopt;
    const auto start = static_cast<std::size_t>(column.cur_value_start);
    const auto length = static_cast<std::size_t>(column.cur_value_len);
    if (start > pageSize || length > pageSize - start) return std::nullopt;
    const unsigned char* head = mdb->pg_buf + start;
    const unsigned kind = head[3];
    if (kind & kInline) {
        return std::string(reinterpret_cast<const char*>(head) + kLongValueHead,
                           length - kLongValueHead);
    }
    std::uint32_t link = U32(head + 4);
    if (kind & kSinglePage) {
        const auto row = LongValueRow(mdb, link);
        return row ? std::optional<std::string>(*row) : std::nullopt;
    }
    if (kind != 0) return std::nullopt;
    std::string value;
    std::size_t read = 0;  // every row counts its link too, so a loop of empty rows ends
    while (link != 0) {
        const auto row = LongValueRow(mdb, link);
        if (!row || row->size() < 4 || row->size() > kMaxPropertyBytes - read) return std::nullopt;
        read += row->size();
        link = U32(reinterpret_cast<const unsigned char*>(row->data()));
        value.append(row->substr(4));
    }
    return value;
}

}  // namespace

bool WalkableTable(const MdbTableDef& table) {
    return table.usage_map != nullptr && table.map_sz >= 5 &&
           (table.usage_map[0] == 0 || table.usage_map[0] == 1);
}

bool SoundPropertyBlock(std::string_view block) {
    if (block.size() < 4 || (block.substr(0, 4) != std::string_view("KKD\0", 4) &&
                             block.substr(0, 4) != std::string_view("MR2\0", 4)))
        return false;
    const auto* bytes = reinterpret_cast<const unsigned char*>(block.data());
    std::optional<Names> names;
    for (std::size_t pos = 4; pos < block.size();) {
        if (block.size() - pos < 6) return false;
        const std::uint32_t length = U32(bytes + pos);
        const unsigned type = U16(bytes + pos + 4);
        if (length < 6 || length > block.size() - pos) return false;
        const std::string_view body = block.substr(pos + 6, length - 6);
        if (type == 0x80) {
            names = ReadNames(body);
            if (!names) return false;
        } else if ((type == 0 || type == 1) && names && !SoundProperties(body, *names)) {
            return false;
        }
        pos += length;
    }
    return true;
}

bool ReadTableCatalogue(MdbHandle* mdb) {
    mdb_free_catalog(mdb);
    mdb->num_catalog = 0;
    MdbCatalogEntry catalogue{};
    catalogue.mdb = mdb;
    catalogue.object_type = MDB_TABLE;
    catalogue.table_pg = kCataloguePage;
    std::snprintf(catalogue.object_name, sizeof catalogue.object_name, "%s", "MSysObjects");
    const TableDefPtr table(mdb_read_table(&catalogue));
    if (!table || mdb_read_columns(table.get()) == nullptr || !WalkableTable(*table)) return false;

    std::vector<std::vector<char>> texts(4, std::vector<char>(mdb->bind_size + 1, '\0'));
    const char* const kColumns[] = {"Id", "Name", "Type", "Flags"};
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (mdb_bind_column_by_name(table.get(), const_cast<char*>(kColumns[i]), texts[i].data(),
                                    nullptr) < 1)
            return false;
    }
    // The properties are taken as raw bytes: bound by their length alone.
    int propertiesLength = 0;
    const int properties = mdb_bind_column_by_name(table.get(), const_cast<char*>("LvProp"),
                                                   nullptr, &propertiesLength);
    if (properties < 1) return false;
    const auto* propertiesColumn =
        static_cast<const MdbColumn*>(g_ptr_array_index(table->columns, properties - 1));

    mdb->catalog = g_ptr_array_new();
    mdb_rewind_table(table.get());
    while (mdb_fetch_row(table.get())) {
        const int type = std::atoi(texts[2].data());
        if (type != MDB_TABLE) continue;
        auto* entry = static_cast<MdbCatalogEntry*>(g_malloc0(sizeof(MdbCatalogEntry)));
        entry->mdb = mdb;
        std::snprintf(entry->object_name, sizeof entry->object_name, "%s", texts[1].data());
        entry->object_type = type & 0x7F;
        entry->table_pg = static_cast<unsigned long>(std::atol(texts[0].data())) & 0x00FFFFFF;
        entry->flags = static_cast<int>(std::atol(texts[3].data()));
        g_ptr_array_add(mdb->catalog, entry);
        ++mdb->num_catalog;
        if (propertiesColumn->cur_value_len > 0) {
            const std::optional<std::string> block = ReadLongValue(mdb, *propertiesColumn);
            if (!block || !SoundPropertyBlock(*block)) {
                mdb_free_catalog(mdb);
                mdb->num_catalog = 0;
                return false;
            }
            entry->props = mdb_kkd_to_props(mdb, const_cast<char*>(block->data()), block->size());
        }
    }
    return true;
}

}  // namespace platform
