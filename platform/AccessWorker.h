#pragma once

#include <sys/types.h>

#include <string>
#include <string_view>

#include "platform/AccessConnection.h"

// Inside the platform only: the process that reads an Access database for an AccessConnection.
namespace platform {

// The worker program installed beside libplatform.so (found from the library's own location, so
// it goes wherever the library is installed).
std::string DefaultAccessWorkerProgram();

// One worker process and the socket to it. The program runs with only the socket (as
// access::kWorkerChannel) and /dev/null for its standard files, with the memory, processor-time
// and core-file limits set before it is asked anything; every answer is awaited no longer than
// the settings' timeout.
class AccessWorker {
  public:
    // Starts the program; throws AccessConnectionLost when it cannot be started.
    explicit AccessWorker(const AccessWorkerSettings& settings);
    // Ends the worker and reaps it.
    ~AccessWorker();
    AccessWorker(const AccessWorker&) = delete;
    AccessWorker& operator=(const AccessWorker&) = delete;

    // Sends one request and returns its answer. When the worker has died, does not answer in
    // time or announces an answer above the limit, it is ended and AccessConnectionLost thrown.
    std::string Call(std::string_view request);
    // Ends the worker after an answer that made no sense, and throws AccessConnectionLost.
    [[noreturn]] void Abandon();
    bool Running() const { return pid_ > 0; }

  private:
    const char* ReceiveUntil(char* data, std::size_t count, long long deadlineMs);
    [[noreturn]] void Stop(const char* why);
    void End();

    AccessWorkerSettings settings_;
    pid_t pid_ = -1;
    int channel_ = -1;
};

}  // namespace platform
