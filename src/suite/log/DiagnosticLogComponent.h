#pragma once

#include <atomic>
#include <chrono>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "host/ILog.h"

namespace spdlog {
class logger;
}

namespace quarn::suite {

class SuiteSession;

/// LKLogMsg.Log on spdlog. Enabled when its session's context has a LogFile entry or the
/// environment variable QUARN_LOG_FILE is set (a file path, or "-" for stderr). Each record
/// names its handle and procedure; an end record adds the elapsed time and the value. A note is
/// one line of its own.
class DiagnosticLogComponent : public ILog {
  public:
    explicit DiagnosticLogComponent(const SuiteSession& session);
    ~DiagnosticLogComponent() override;

    Variant LogStart(const std::string& procedure) override;
    void LogEnd(int32_t handle, int32_t value) override;
    bool IsEnabled() override { return logger_ != nullptr; }
    void LogNote(const std::string& text) override;

  private:
    struct OpenRecord {
        std::string procedure;
        std::chrono::steady_clock::time_point start;
    };

    std::shared_ptr<spdlog::logger> logger_;
    std::mutex mutex_;
    std::map<int32_t, OpenRecord> open_;
    static std::atomic<int32_t> nextHandle_;
};

}  // namespace quarn::suite
