#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "converter/PontraApplication.h"
#include "platform/Cp1250.h"
#include "platform/FormBackend.h"
#include "platform/UiService.h"

// A fresh folder per test, removed afterwards.
class ConverterScratch {
  public:
    ConverterScratch() {
        std::string pattern = (std::filesystem::temp_directory_path() / "pontra-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~ConverterScratch() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ConverterScratch(const ConverterScratch&) = delete;
    ConverterScratch& operator=(const ConverterScratch&) = delete;

    std::string Path(const std::string& name) const { return path_ + "/" + name; }
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
};

inline std::string ReadFileBytes(const std::string& name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteFileBytes(const std::string& name, const std::string& bytes) {
    std::ofstream(name, std::ios::binary) << bytes;
}

struct ProgramRun {
    int status = -1;
    std::string output;  // stdout and stderr
};

// Runs `command` (quoted for the shell) in `folder`, without input; a program that waits gets
// killed after `seconds` and fails the test.
inline ProgramRun RunInFolder(const std::string& folder, const std::string& command,
                              int seconds = 60) {
    const std::string line = "cd '" + folder + "' && timeout " + std::to_string(seconds) + " " +
                             command + " </dev/null 2>&1";
    ProgramRun run;
    FILE* pipe = ::popen(line.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        run.output.append(buffer, got);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

inline ProgramRun RunProgram(const std::string& program, const std::string& folder,
                             const std::string& arguments) {
    return RunInFolder(folder, "'" + program + "' " + arguments);
}

// The fake plug-in libraries the tests build, by absolute name.
inline std::string FakeLibrary() {
    return KESTREL_FAKE_BIN "/lib32/Kestrel.so";
}
inline std::string PartialLibrary() {
    return KESTREL_PARTIAL_BIN "/lib32/Kestrel.so";
}
inline std::string MissingLibrary() {
    return "/nonexistent/lib32/Kestrel.so";
}

// Finds the next text argument "|h<number>:" of a recorded call from `from`: its position and
// length, and the number; npos when there is none.
inline std::size_t FindHandle(const std::string& line, std::size_t from, std::size_t& length,
                              std::uint32_t& handle) {
    for (std::size_t at = line.find("|h", from); at != std::string::npos;
         at = line.find("|h", at + 1)) {
        std::size_t end = at + 2;
        while (end < line.size() && line[end] >= '0' && line[end] <= '9') ++end;
        if (end == at + 2 || end >= line.size() || line[end] != ':') continue;
        handle = static_cast<std::uint32_t>(std::stoul(line.substr(at + 2, end - at - 2)));
        length = end + 1 - at;
        return at;
    }
    return std::string::npos;
}

// The calls the fake library records, with the handle numbers left out ("|h12:a.map" -> "|a.map").
inline std::vector<std::string> WithoutHandles(const std::vector<std::string>& lines) {
    std::vector<std::string> result;
    for (std::string line : lines) {
        std::size_t length = 0;
        std::uint32_t handle = 0;
        for (std::size_t at = FindHandle(line, 0, length, handle); at != std::string::npos;
             at = FindHandle(line, at + 1, length, handle))
            line.replace(at, length, 1, '|');
        result.push_back(line);
    }
    return result;
}

// The handle numbers of the text arguments the fake library was given.
inline std::vector<std::uint32_t> ArgumentHandles(const std::vector<std::string>& lines) {
    std::vector<std::uint32_t> result;
    for (const std::string& line : lines) {
        std::size_t length = 0;
        std::uint32_t handle = 0;
        for (std::size_t at = FindHandle(line, 0, length, handle); at != std::string::npos;
             at = FindHandle(line, at + length, length, handle))
            result.push_back(handle);
    }
    return result;
}

// Headless forms and message boxes with empty records, the fake library's record in a scratch
// file; every queued script must be used.
class ConverterTest : public ::testing::Test {
  protected:
    void SetUp() override {
        forms = platform::FormService::Headless();
        ASSERT_NE(forms, nullptr);
        forms->Reset();
        forms->SetEcho(false);
        boxes = platform::UiService::Headless();
        ASSERT_NE(boxes, nullptr);
        boxes->ClearMessages();
        boxes->SetEcho(false);
        ::setenv("KESTREL_FAKE_LOG", LogName().c_str(), 1);
        ::unsetenv("KESTREL_FAKE_NIL");
    }
    void TearDown() override {
        EXPECT_EQ(forms->PendingScripts(), 0u);
        EXPECT_TRUE(forms->Mismatches().empty());
        forms->Reset();
        forms->SetEcho(true);
        boxes->ClearMessages();
        boxes->SetEcho(true);
        ::unsetenv("KESTREL_FAKE_LOG");
        ::unsetenv("KESTREL_FAKE_NIL");
    }

    std::string LogName() const { return scratch.Path("calls.log"); }

    // Every line the fake library recorded so far.
    std::vector<std::string> RawCalls() const {
        std::vector<std::string> lines;
        std::ifstream in(LogName(), std::ios::binary);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    std::vector<std::string> Calls() const { return WithoutHandles(RawCalls()); }
    // The calls after the library was loaded.
    std::vector<std::string> CallsAfterLoad() const {
        std::vector<std::string> calls = Calls();
        if (!calls.empty() && calls.front() == "load") calls.erase(calls.begin());
        return calls;
    }

    std::unique_ptr<PontraApplication> Start(std::vector<std::string> parameters,
                                             const std::string& library = FakeLibrary()) {
        return std::make_unique<PontraApplication>(std::move(parameters), library);
    }

    // The texts of the message boxes shown, in UTF-8.
    std::vector<std::string> MessageTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : boxes->Messages()) texts.push_back(platform::Cp1250ToUtf8(box.text));
        return texts;
    }

    ConverterScratch scratch;
    platform::HeadlessForms* forms = nullptr;
    platform::HeadlessUi* boxes = nullptr;
};

using Lines = std::vector<std::string>;

inline const std::string kCreateError = "Błąd tworzenia obiektu KWZ !";
// The same when the library was not found: the box names where it was looked for.
inline const std::string kNoLibraryError =
    kCreateError + "\nNie znaleziono biblioteki; szukano: " + MissingLibrary();
