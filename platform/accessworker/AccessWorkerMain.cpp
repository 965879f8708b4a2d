// The Access worker: reads one database for the Access layer of the program that started it,
// answering its requests on access::kWorkerChannel until that closes. Whatever a damaged database
// does to the reader here (a crash, an endless loop, memory without end) ends this process only;
// the starting program has set its limits and sees the channel fail.
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <optional>
#include <string>

#include "platform/AccessProtocol.h"
#include "platform/accessworker/AccessTableCache.h"

namespace {

using platform::AccessTableCache;
using namespace platform::access;

std::string Reply(Status status) {
    return MessageWriter().Byte(static_cast<std::uint8_t>(status)).Bytes();
}

class Server {
  public:
    std::string Serve(const std::string& request) {
        MessageReader in(request);
        const auto operation = static_cast<Operation>(in.Byte());
        if (operation == Operation::Open) {
            const std::string path = in.Text();
            cache_.reset();
            try {
                cache_ = std::make_unique<AccessTableCache>(path);
            } catch (const platform::AccessError&) {
                return Reply(Status::CannotOpen);
            }
            return Reply(Status::Ok);
        }
        if (!cache_) return Reply(Status::CannotOpen);
        try {
            switch (operation) {
                case Operation::Tables:
                    return Tables();
                case Operation::Columns:
                    return Columns(in.Text());
                case Operation::Rows: {
                    const std::string table = in.Text();
                    const std::int32_t column = in.Int();
                    return Rows(table, column, in.Text());
                }
                default:
                    return Reply(Status::Failed);
            }
        } catch (const platform::AccessError&) {
            return Reply(Status::CannotOpen);
        }
    }

    // Memory ran out: what is held goes, so that the next request can start afresh.
    void Drop() { cache_.reset(); }

  private:
    std::string Tables() {
        MessageWriter out;
        const auto names = cache_->Tables();
        out.Byte(static_cast<std::uint8_t>(Status::Ok))
            .Int(static_cast<std::int32_t>(names.size()));
        for (const std::string& name : names) out.Text(name);
        return out.Bytes();
    }

    std::string Columns(const std::string& name) {
        const AccessTableCache::Table* table = cache_->Find(name);
        if (table == nullptr) return Reply(Status::NoTable);
        MessageWriter out;
        out.Byte(static_cast<std::uint8_t>(Status::Ok))
            .Int(static_cast<std::int32_t>(table->columns.size()));
        for (const auto& column : table->columns)
            out.Text(column.name).Byte(column.numeric ? 1 : 0);
        return out.Bytes();
    }

    std::string Rows(const std::string& name, std::int32_t column, const std::string& key) {
        const AccessTableCache::Table* table = cache_->Find(name);
        if (table == nullptr) return Reply(Status::NoTable);
        const auto rows = cache_->Select(name, column, key);
        MessageWriter out;
        out.Byte(static_cast<std::uint8_t>(Status::Ok))
            .Int(static_cast<std::int32_t>(table->columns.size()))
            .Int(static_cast<std::int32_t>(rows.size()));
        for (std::uint32_t row : rows) {
            for (std::size_t c = 0; c < table->columns.size(); ++c)
                out.Text(table->rows.Value(row, c));
        }
        return out.Bytes();
    }

    std::unique_ptr<AccessTableCache> cache_;
};

}  // namespace

int main(int argc, char** argv) {
    // Ends with the program that started it, even when that one is killed.
    long parent = 0;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--parent") == 0) parent = std::strtol(argv[i + 1], nullptr, 10);
    }
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (parent > 0 && ::getppid() != parent) ::_exit(0);

    Server server;
    while (std::optional<std::string> request = ReceiveMessage(kWorkerChannel, kMaxRequestBytes)) {
        std::string reply;
        try {
            reply = server.Serve(*request);
        } catch (const std::bad_alloc&) {
            server.Drop();
            reply = Reply(Status::Failed);
        } catch (const ProtocolError&) {
            reply = Reply(Status::Failed);
        }
        if (!SendMessage(kWorkerChannel, reply)) break;
    }
    // Nothing of this process needs flushing or tearing down.
    ::_exit(0);
}
