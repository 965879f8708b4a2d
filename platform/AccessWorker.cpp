#include "platform/AccessWorker.h"

#include <dlfcn.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <thread>
#include <vector>

#include "platform/AccessProtocol.h"
#include "platform/Cp1250.h"

extern char** environ;

namespace platform {
namespace {

constexpr const char* kWorkerName = "kestrel-access-worker";

// The worker's failures (UTF-8 here, Windows-1250 in the exceptions).
constexpr const char* kCannotStart = "Nie można uruchomić procesu odczytu bazy danych ";
constexpr const char* kDied = "Proces odczytu bazy danych przerwał pracę";
constexpr const char* kNoAnswer = "Proces odczytu bazy danych nie odpowiada";
constexpr const char* kTooLong = "Za długa odpowiedź procesu odczytu bazy danych";
constexpr const char* kGarbage = "Niepoprawna odpowiedź procesu odczytu bazy danych";

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kAddressSanitizer = true;
#else
constexpr bool kAddressSanitizer = false;
#endif
#else
constexpr bool kAddressSanitizer = false;
#endif

[[noreturn]] void Lost(const char* what, std::string_view detail = {}) {
    throw AccessConnectionLost(Utf8ToCp1250(what) + std::string(detail));
}

long long NowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// The parent's environment for the worker. An address-sanitized worker (built like this library)
// cannot run under an address-space limit, since the sanitizer reserves terabytes at start; its
// memory is bounded by the sanitizer's own limits instead, and its leak report is switched off.
std::vector<std::string> WorkerEnvironment(const AccessWorkerSettings& settings) {
    std::vector<std::string> env;
    std::string asan;
    for (char** e = environ; e != nullptr && *e != nullptr; ++e) {
        const std::string_view entry(*e);
        if (entry.starts_with("ASAN_OPTIONS=")) {
            asan = std::string(entry.substr(13));
            continue;
        }
        env.emplace_back(entry);
    }
    if (kAddressSanitizer) {
        const std::string mb = std::to_string(std::max<std::size_t>(settings.memoryBytes >> 20, 1));
        if (!asan.empty()) asan += ':';
        asan += "detect_leaks=0:allocator_may_return_null=1:max_allocation_size_mb=" + mb +
                ":hard_rss_limit_mb=" + mb;
    }
    if (!asan.empty()) env.push_back("ASAN_OPTIONS=" + asan);
    return env;
}

// Owns the spawn attributes for the length of one start.
struct SpawnSetup {
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
    SpawnSetup() {
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawnattr_init(&attributes);
    }
    ~SpawnSetup() {
        ::posix_spawn_file_actions_destroy(&actions);
        ::posix_spawnattr_destroy(&attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
};

}  // namespace

std::string DefaultAccessWorkerProgram() {
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&DefaultAccessWorkerProgram), &info) == 0 ||
        info.dli_fname == nullptr)
        return kWorkerName;
    return (std::filesystem::path(info.dli_fname).parent_path() / kWorkerName).string();
}

AccessWorker::AccessWorker(const AccessWorkerSettings& settings) : settings_(settings) {
    const std::string program =
        settings_.program.empty() ? DefaultAccessWorkerProgram() : settings_.program;
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) != 0)
        Lost(kCannotStart, program);
    channel_ = pair[0];
    // The worker's end goes to its fixed number; kept above the standard files and the channel
    // number meanwhile, since dup2 onto itself would leave close-on-exec set.
    int workerEnd = pair[1];
    if (workerEnd <= access::kWorkerChannel) {
        workerEnd = ::fcntl(pair[1], F_DUPFD_CLOEXEC, access::kWorkerChannel + 1);
        ::close(pair[1]);
    }

    SpawnSetup setup;
    ::posix_spawn_file_actions_addopen(&setup.actions, 0, "/dev/null", O_RDONLY, 0);
    ::posix_spawn_file_actions_addopen(&setup.actions, 1, "/dev/null", O_WRONLY, 0);
    ::posix_spawn_file_actions_addopen(&setup.actions, 2, "/dev/null", O_WRONLY, 0);
    if (workerEnd >= 0)
        ::posix_spawn_file_actions_adddup2(&setup.actions, workerEnd, access::kWorkerChannel);
    ::posix_spawn_file_actions_addclosefrom_np(&setup.actions, access::kWorkerChannel + 1);
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    ::posix_spawnattr_setsigmask(&setup.attributes, &none);
    ::posix_spawnattr_setsigdefault(&setup.attributes, &all);
    ::posix_spawnattr_setflags(&setup.attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    const std::string parent = std::to_string(::getpid());
    std::vector<char*> argv = {const_cast<char*>(program.c_str()), const_cast<char*>("--parent"),
                               const_cast<char*>(parent.c_str()), nullptr};
    std::vector<std::string> env = WorkerEnvironment(settings_);
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    pid_t pid = -1;
    const int error = workerEnd < 0 ? EMFILE
                                    : ::posix_spawn(&pid, program.c_str(), &setup.actions,
                                                    &setup.attributes, argv.data(), envp.data());
    if (workerEnd >= 0) ::close(workerEnd);
    if (error != 0) {
        ::close(channel_);
        channel_ = -1;
        Lost(kCannotStart, program);
    }
    pid_ = pid;
    // The limits are in place before the worker is asked anything.
    const auto setLimit = [this](auto resource, rlim_t soft, rlim_t hard) {
        const struct rlimit limit { soft, hard };
        ::prlimit(pid_, resource, &limit, nullptr);
    };
    const auto cpu = static_cast<rlim_t>(std::max(settings_.cpuSeconds, 1));
    setLimit(RLIMIT_CPU, cpu, cpu + 5);
    setLimit(RLIMIT_CORE, 0, 0);
    if (!kAddressSanitizer) {
        const auto bytes = static_cast<rlim_t>(settings_.memoryBytes);
        setLimit(RLIMIT_AS, bytes, bytes);
    }
}

AccessWorker::~AccessWorker() {
    End();
}

std::string AccessWorker::Call(std::string_view request) {
    if (!Running()) Lost(kDied);
    const long long deadline = NowMs() + settings_.replyTimeout.count();
    if (!access::SendMessage(channel_, request)) Stop(kDied);
    char head[4];
    if (const char* failure = ReceiveUntil(head, sizeof head, deadline)) Stop(failure);
    const std::uint32_t length = access::MessageLength(head);
    if (length > settings_.maxReplyBytes) Stop(kTooLong);
    std::string reply(length, '\0');
    if (const char* failure = ReceiveUntil(reply.data(), length, deadline)) Stop(failure);
    return reply;
}

void AccessWorker::Abandon() {
    Stop(kGarbage);
}

void AccessWorker::Stop(const char* why) {
    if (pid_ > 0) ::kill(pid_, SIGKILL);
    End();
    Lost(why);
}

// Nothing when all arrived; otherwise why not: the deadline passed, or the worker closed its end.
const char* AccessWorker::ReceiveUntil(char* data, std::size_t count, long long deadlineMs) {
    while (count > 0) {
        const long long left = deadlineMs - NowMs();
        if (left <= 0) return kNoAnswer;
        pollfd p{channel_, POLLIN, 0};
        const int ready = ::poll(&p, 1, static_cast<int>(std::min<long long>(left, 1 << 30)));
        if (ready < 0 && errno == EINTR) continue;
        if (ready == 0) return kNoAnswer;
        if (ready < 0) return kDied;
        const ssize_t n = ::recv(channel_, data, count, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return kDied;
        data += n;
        count -= static_cast<std::size_t>(n);
    }
    return nullptr;
}

// Closes the socket, which ends a healthy worker by itself; one still there after a short wait
// is killed. The worker is reaped in every case.
void AccessWorker::End() {
    if (channel_ >= 0) {
        ::close(channel_);
        channel_ = -1;
    }
    if (pid_ <= 0) return;
    int status = 0;
    for (int i = 0; i < 100; ++i) {
        const pid_t done = ::waitpid(pid_, &status, WNOHANG);
        if (done == pid_ || (done < 0 && errno != EINTR)) {
            pid_ = -1;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ::kill(pid_, SIGKILL);
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
}

}  // namespace platform
