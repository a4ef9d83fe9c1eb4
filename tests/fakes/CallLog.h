#pragma once

#include <cstddef>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Variant.h"

namespace quarn::fakes {

/// One call to a fake component: which component, which member, with which arguments.
struct Call {
    std::string component;
    std::string member;
    std::vector<Variant> arguments;
};

/// The calls of every fake of one suite, in the order they were made.
class CallLog {
  public:
    void Record(std::string_view component, std::string_view member,
                std::vector<Variant> arguments = {});

    const std::vector<Call>& Calls() const { return calls_; }
    std::vector<Call> CallsTo(std::string_view member) const;
    std::size_t CountOf(std::string_view member) const;
    void Clear() { calls_.clear(); }

  private:
    std::vector<Call> calls_;
};

/// Members that fail on demand: a failing member raises ComError kInjectedFailure.
class FailureSwitch {
  public:
    /// Makes every later call of the member fail.
    void FailOn(std::string_view member) { failing_[std::string(member)] = kAlways; }
    /// Makes only the next call of the member fail.
    void FailOnce(std::string_view member) { failing_[std::string(member)] = 1; }
    void Heal(std::string_view member) { failing_.erase(std::string(member)); }
    /// Raises when the member is set to fail.
    void Check(std::string_view component, std::string_view member);

  private:
    static constexpr int kAlways = -1;
    std::map<std::string, int, std::less<>> failing_;  // calls left to fail
};

/// What every fake component shares: its calls go to the suite's CallLog, and each of its
/// members can be made to fail.
class FakeComponent {
  public:
    FailureSwitch failures;

  protected:
    FakeComponent(std::shared_ptr<CallLog> log, const char* name)
        : log_(std::move(log)), name_(name) {}
    /// Records the call, then raises when the member is set to fail.
    void Enter(std::string_view member, std::vector<Variant> arguments = {}) {
        log_->Record(name_, member, std::move(arguments));
        failures.Check(name_, member);
    }

  private:
    std::shared_ptr<CallLog> log_;
    const char* name_;
};

/// Number of the errors that fakes raise on demand.
inline constexpr int32_t kInjectedFailure = -2147467259;  // an unspecified failure

}  // namespace quarn::fakes
