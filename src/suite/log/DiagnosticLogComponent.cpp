#include "suite/log/DiagnosticLogComponent.h"

#include <spdlog/sinks/basic_file_sink.h>
#include <spdlog/sinks/stdout_sinks.h>
#include <spdlog/spdlog.h>

#include <cstdlib>

#include "suite/ContextEntries.h"
#include "suite/SuiteSession.h"

namespace quarn::suite {

std::atomic<int32_t> DiagnosticLogComponent::nextHandle_{1};

namespace {

std::string LogTarget(const SuiteSession& session) {
    if (auto fromContext = ContextEntry(session.Context(), kLogFileEntry)) {
        return *fromContext;
    }
    const char* fromEnvironment = std::getenv("QUARN_LOG_FILE");
    return fromEnvironment ? fromEnvironment : "";
}

}  // namespace

DiagnosticLogComponent::DiagnosticLogComponent(const SuiteSession& session) {
    const std::string target = LogTarget(session);
    if (target.empty()) {
        return;
    }
    try {
        if (target == "-") {
            logger_ = std::make_shared<spdlog::logger>(
                "quarn", std::make_shared<spdlog::sinks::stderr_sink_mt>());
        } else {
            logger_ = std::make_shared<spdlog::logger>(
                "quarn", std::make_shared<spdlog::sinks::basic_file_sink_mt>(target));
        }
        logger_->set_pattern("%Y-%m-%d %H:%M:%S.%e [pid %P] %v");
        logger_->flush_on(spdlog::level::info);
    } catch (const spdlog::spdlog_ex&) {
        logger_.reset();  // a log that cannot be written is a disabled log
    }
}

DiagnosticLogComponent::~DiagnosticLogComponent() = default;

Variant DiagnosticLogComponent::LogStart(const std::string& procedure) {
    const int32_t handle = nextHandle_++;
    if (logger_) {
        {
            std::lock_guard lock(mutex_);
            open_[handle] = {procedure, std::chrono::steady_clock::now()};
        }
        logger_->info("start handle={} procedure={}", handle, procedure);
    }
    return handle;
}

void DiagnosticLogComponent::LogEnd(int32_t handle, int32_t value) {
    if (!logger_) {
        return;
    }
    OpenRecord record;
    {
        std::lock_guard lock(mutex_);
        const auto it = open_.find(handle);
        if (it == open_.end()) {
            logger_->info("end handle={} (no start record) value={}", handle, value);
            return;
        }
        record = it->second;
        open_.erase(it);
    }
    const auto elapsed =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - record.start);
    logger_->info("end handle={} procedure={} elapsed_ms={:.3f} value={}", handle, record.procedure,
                  elapsed.count(), value);
}

void DiagnosticLogComponent::LogNote(const std::string& text) {
    if (logger_) {
        logger_->info("note {}", text);
    }
}

}  // namespace quarn::suite
