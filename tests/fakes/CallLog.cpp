#include "fakes/CallLog.h"

#include "foundation/ComError.h"

namespace quarn::fakes {

void CallLog::Record(std::string_view component, std::string_view member,
                     std::vector<Variant> arguments) {
    calls_.push_back(Call{std::string(component), std::string(member), std::move(arguments)});
}

std::vector<Call> CallLog::CallsTo(std::string_view member) const {
    std::vector<Call> result;
    for (const Call& call : calls_) {
        if (call.member == member) {
            result.push_back(call);
        }
    }
    return result;
}

std::size_t CallLog::CountOf(std::string_view member) const {
    return CallsTo(member).size();
}

void FailureSwitch::Check(std::string_view component, std::string_view member) {
    const auto it = failing_.find(member);
    if (it != failing_.end()) {
        if (it->second != kAlways && --it->second == 0) {
            failing_.erase(it);
        }
        throw ComError(kInjectedFailure, std::string(component) + "." + std::string(member),
                       "Injected failure of " + std::string(member) + ".");
    }
}

}  // namespace quarn::fakes
