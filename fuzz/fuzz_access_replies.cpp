// The program's side of the Access worker's protocol fed with arbitrary replies: the first byte
// picks the request answered (open, tables, columns, rows), the rest is the reply. A reply is
// read whole or refused as breaking the protocol, never sized by a count its bytes cannot hold
// (the fuzzer's memory limit catches one that is), and rows take about the reply's bytes; what is
// read writes back to the same bytes.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/AccessProtocol.h"

using namespace platform::access;

namespace {

// The reply as the worker would write what was read, after the Ok status.
std::string Written(int request, MessageReader& in, std::size_t replyBytes) {
    MessageWriter out;
    out.Byte(static_cast<std::uint8_t>(Status::Ok));
    switch (request) {
        case 0:
            ReadOpened(in);
            break;
        case 1: {
            const auto names = ReadTables(in);
            out.Int(static_cast<std::int32_t>(names.size()));
            for (const std::string& name : names) out.Text(name);
            break;
        }
        case 2: {
            const auto columns = ReadColumns(in);
            out.Int(static_cast<std::int32_t>(columns.size()));
            for (const auto& column : columns) out.Text(column.name).Byte(column.numeric ? 1 : 0);
            break;
        }
        default: {
            const platform::AccessRows rows = ReadRows(in);
            out.Int(static_cast<std::int32_t>(rows.Columns()))
                .Int(static_cast<std::int32_t>(rows.Count()));
            for (std::size_t r = 0; r < rows.Count(); ++r) {
                for (std::size_t c = 0; c < rows.Columns(); ++c) out.Text(rows.Value(r, c));
            }
            // The rows take about the reply's bytes.
            if (rows.HeldBytes() > 2 * replyBytes + 32) __builtin_trap();
        }
    }
    return out.Bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view reply(reinterpret_cast<const char*>(data) + 1, size - 1);
    try {
        MessageReader in(reply);
        if (ReadStatus(in) != Status::Ok) return 0;
        const std::string written = Written(data[0] % 4, in, reply.size());
        if (!written.empty() && written != reply) __builtin_trap();
    } catch (const ProtocolError&) {
    }
    return 0;
}
