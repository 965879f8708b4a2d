// Journal reader: whatever a folder holds under a journal's name, a journal it accepts names only
// entries of its own folder, and every temporary and backup it names was made for its target by
// the run of its token.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/FileJournal.h"

namespace {

constexpr std::string_view kToken = "0123456789abcdef";

void Check(bool condition) {
    if (!condition) std::abort();
}

bool Bare(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos;
}

// A name the run of the token made for the target.
bool MadeFor(const std::string& name, const std::string& target) {
    const std::size_t mark = name.rfind(".~" + std::string(kToken) + "-");
    if (mark == std::string::npos) return false;
    const unsigned long serial = std::strtoul(name.c_str() + mark + kToken.size() + 3, nullptr, 10);
    return name == platform::TemporaryName(target, kToken, serial);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto journal = platform::ParseJournal(text, kToken);
    if (!journal) return 0;
    for (const std::string& temporary : journal->temporaries) {
        Check(Bare(temporary));
        Check(temporary.find(kToken) != std::string::npos);
    }
    for (const platform::JournalRename& rename : journal->renames) {
        Check(Bare(rename.target));
        Check(rename.temporary.empty() || MadeFor(rename.temporary, rename.target));
        Check(rename.backup.empty() || MadeFor(rename.backup, rename.target));
    }
    // What it accepts it writes back the same way.
    std::string again = platform::JournalHeader(kToken);
    for (const std::string& temporary : journal->temporaries)
        again += platform::TemporaryRecord(temporary);
    if (!journal->renames.empty()) again += platform::RenamesRecord(journal->renames);
    for (int member : journal->undone) again += platform::UndoRecord(member);
    if (journal->done) again += platform::DoneRecord();
    const auto reread = platform::ParseJournal(again, kToken);
    Check(reread && reread->temporaries == journal->temporaries &&
          reread->renames.size() == journal->renames.size() && reread->undone == journal->undone &&
          reread->done == journal->done);
    return 0;
}
