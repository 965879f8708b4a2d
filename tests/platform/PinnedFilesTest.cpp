// Readers of a set of files: a pin takes the set whole under the folder's shared lock, and the
// process reads the pinned files while a reading of the pin lives.
#include "platform/PinnedFiles.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "FaultyCalls.h"
#include "SetFiles.h"
#include "TempFolder.h"
#include "TwoWriters.h"
#include "platform/BinaryFile.h"

using namespace platform;

namespace {

const std::vector<std::string> kSet = {"a.shp", "a.shx", "a.dbf"};
// The rename after which the writer of kSet has put part of it in place, and not all.
constexpr int kHalfWay = 1;
constexpr const char* kNone = "(none)";

// What the process reads under the name, through the platform's file layer.
std::string ReadThrough(const std::string& name) {
    BinaryFile file;
    if (!file.Open(name, BinaryFile::Mode::Read)) return kNone;
    std::string bytes(static_cast<std::size_t>(file.Size()), '\0');
    bytes.resize(file.Read(bytes.data(), bytes.size()));
    return bytes;
}

// Puts new content in the name's place, as another program's writer does: a new file renamed
// over the old one.
void PutInPlace(const std::string& name, const std::string& bytes) {
    TempFolder::WriteBytes(name + ".new", bytes);
    std::filesystem::rename(name + ".new", name);
}

// A child process writing kSet into the folder in one set, stopped half-way through putting it
// in place; it goes on, and is waited for, when this goes.
class StoppedWriter {
  public:
    explicit StoppedWriter(const std::string& folder)
        : child_(Spawn([folder] {
              Inject(Fault{Fault::Call::Rename, kHalfWay, Fault::Action::Stop});
              ::_exit(WriteSet(folder, kSet, "new") == 0 ? 0 : 1);
          })) {
        int status = 0;
        stopped_ = ::waitpid(child_, &status, WUNTRACED) == child_ && WIFSTOPPED(status);
    }
    ~StoppedWriter() {
        if (child_ > 0) Finish();
    }
    StoppedWriter(const StoppedWriter&) = delete;
    StoppedWriter& operator=(const StoppedWriter&) = delete;

    bool Stopped() const { return stopped_; }
    // Lets the writer go on; its exit status.
    int Finish() {
        ::kill(child_, SIGCONT);
        const int status = ExitOf(child_);
        child_ = -1;
        return status;
    }

  private:
    pid_t child_;
    bool stopped_ = false;
};

std::vector<std::string> Paths(const TempFolder& dir) {
    std::vector<std::string> paths;
    for (const std::string& name : kSet) paths.push_back(dir / name);
    return paths;
}

// A reader that starts while a writer holds the folder with half of its set in place waits for
// the writer, then reads the writer's whole set.
TEST(PinnedFiles, AReaderWaitsForAWriterHalfWayThroughASetAndReadsItWhole) {
    TempFolder dir;
    const std::vector<std::string> paths = Paths(dir);
    for (const std::string& path : paths) TempFolder::WriteBytes(path, "old");
    StoppedWriter writer(dir.Path());
    ASSERT_TRUE(writer.Stopped());
    std::set<std::string> there;
    for (const std::string& path : paths) there.insert(TempFolder::ReadBytes(path));
    ASSERT_EQ(there, (std::set<std::string>{"new", "old"}));

    std::atomic<bool> done{false};
    std::vector<std::string> read;
    std::thread reader([&] {
        const PinnedFiles pin(paths);
        const PinnedFiles::Reading reading(&pin);
        for (const std::string& path : paths) read.push_back(ReadThrough(path));
        done = true;
    });
    ::usleep(300000);
    EXPECT_FALSE(done);  // the stopped writer holds the folder
    EXPECT_EQ(writer.Finish(), 0);
    reader.join();
    EXPECT_EQ(read, std::vector<std::string>(kSet.size(), "new"));
}

// While a reading lives, the process reads a pinned name's file as it was pinned (none for a
// name that held none), whatever has been put in its place since; a pin taken meanwhile takes
// that file too. Once the reading ends the name gives what is there.
TEST(PinnedFiles, AReadingReadsThePinnedFilesAndOnlyWhileItLives) {
    struct Case {
        const char* what;
        bool present;  // "old" is there when pinned
        std::function<void(const std::string& path, const TempFolder& dir)> change;
        std::string during;
        std::string after;
    };
    const std::vector<Case> cases = {
        {"replaced", true,
         [](const std::string& path, const TempFolder&) { PutInPlace(path, "new"); }, "old", "new"},
        {"removed", true,
         [](const std::string& path, const TempFolder&) { std::filesystem::remove(path); }, "old",
         kNone},
        {"replaced under another case", true,
         [](const std::string& path, const TempFolder& dir) {
             std::filesystem::remove(path);
             TempFolder::WriteBytes(dir / "REPLACED UNDER ANOTHER CASE.DBF", "new");
         },
         "old", "new"},
        {"put in place since", false,
         [](const std::string& path, const TempFolder&) { PutInPlace(path, "new"); }, kNone, "new"},
    };
    TempFolder dir;
    for (const Case& c : cases) {
        const std::string path = dir / (std::string(c.what) + ".dbf");
        if (c.present) TempFolder::WriteBytes(path, "old");
        const PinnedFiles pin({path});
        c.change(path, dir);
        {
            const PinnedFiles::Reading reading(&pin);
            EXPECT_EQ(ReadThrough(path), c.during) << c.what;
            const PinnedFiles again({path});
            EXPECT_TRUE(again.Identity(path).Matches(pin.Identity(path))) << c.what;
        }
        EXPECT_TRUE(pin.Part({path})->Identity(path).Matches(pin.Identity(path))) << c.what;
        EXPECT_EQ(ReadThrough(path), c.after) << c.what;
    }
}

// What a pinned file is comes from the file the pin opened: a writer that has put a new file in
// the name's place since (and is stopped before the rest of its set) does not change it.
TEST(PinnedFiles, APinnedFilesIdentityIsOfTheFileItOpened) {
    TempFolder dir;
    const std::vector<std::string> paths = Paths(dir);
    for (const std::string& path : paths) TempFolder::WriteBytes(path, "old");
    std::vector<FileIdentity> opened;
    for (const std::string& path : paths) opened.push_back(Seen(path));
    const PinnedFiles pin(paths);
    StoppedWriter writer(dir.Path());
    ASSERT_TRUE(writer.Stopped());
    bool anyReplaced = false;
    for (std::size_t i = 0; i < paths.size(); ++i) {
        anyReplaced = anyReplaced || !Seen(paths[i]).SameFile(opened[i]);
        EXPECT_TRUE(pin.Identity(paths[i]).Matches(opened[i])) << paths[i];
    }
    EXPECT_TRUE(anyReplaced);
    EXPECT_EQ(writer.Finish(), 0);
}

}  // namespace
