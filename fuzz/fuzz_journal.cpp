// Journal reader: whatever a folder holds under a journal's name, a journal it accepts names only
// entries of its own folder, every temporary and backup it names was made for its target by the
// run of its token, with the identities that recovery needs, and it reads back the same (backups
// changed on the way included). A journal of an earlier version names entries of its folder only.
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

bool SameIdentity(const platform::FileIdentity& a, const platform::FileIdentity& b) {
    return a.state == b.state && a.Text() == b.Text();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto journal = platform::ParseJournal(text, kToken);
    if (!journal) {
        if (const auto earlier = platform::ParseEarlierJournal(text, kToken)) {
            for (const std::string& name : earlier->files) Check(Bare(name));
            for (const std::string& name : earlier->hidden)
                Check(Bare(name) && name.find(kToken) != std::string::npos);
        }
        return 0;
    }
    std::string again = platform::JournalHeader(kToken);
    for (const platform::JournalTemporary& temporary : journal->temporaries) {
        Check(Bare(temporary.name));
        Check(temporary.name.find(kToken) != std::string::npos);
        again += platform::TemporaryRecord(temporary);
    }
    for (const platform::JournalSet& set : journal->sets) {
        for (const platform::JournalRename& rename : set.renames) {
            Check(Bare(rename.target));
            Check(rename.temporary.empty()
                      ? rename.before.Present() && rename.written.Absent()
                      : MadeFor(rename.temporary, rename.target) && rename.written.Present());
            Check(rename.backup.empty() ||
                  (MadeFor(rename.backup, rename.target) && rename.before.Present()));
        }
        again += platform::RenamesRecord(set.renames);
        for (int member : set.undone) again += platform::UndoRecord(member);
        if (set.done) again += platform::DoneRecord();
    }
    // What it accepts it writes back the same way.
    const auto reread = platform::ParseJournal(again, kToken);
    Check(reread && reread->temporaries.size() == journal->temporaries.size() &&
          reread->sets.size() == journal->sets.size());
    for (std::size_t i = 0; i < journal->temporaries.size(); ++i)
        Check(reread->temporaries[i].name == journal->temporaries[i].name &&
              SameIdentity(reread->temporaries[i].written, journal->temporaries[i].written));
    for (std::size_t i = 0; i < journal->sets.size(); ++i) {
        const platform::JournalSet& a = journal->sets[i];
        const platform::JournalSet& b = reread->sets[i];
        Check(a.undone == b.undone && a.done == b.done && a.renames.size() == b.renames.size());
        for (std::size_t j = 0; j < a.renames.size(); ++j)
            Check(a.renames[j].target == b.renames[j].target &&
                  a.renames[j].backup == b.renames[j].backup &&
                  a.renames[j].renamed == b.renames[j].renamed &&
                  SameIdentity(a.renames[j].before, b.renames[j].before) &&
                  SameIdentity(a.renames[j].written, b.renames[j].written));
    }
    return 0;
}
