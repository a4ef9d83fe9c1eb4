#pragma once

#include <string>
#include <vector>

#include "host/IMessageFormatter.h"

namespace quarn::suite {

/// The foundation library's message formatter. %n (n = 1, 2, ..., all digits that follow, so
/// %10 is the tenth argument) is replaced by the text of argument n, a null argument by "". A
/// placeholder without an argument, %0 and a lone % stay as they are; "%%" stays "%%" and
/// shields what follows it. Inserted texts are not scanned again.
class MessageFormatter : public IMessageFormatter {
  public:
    std::string FormatMessage(const std::string& templateText,
                              const std::vector<Variant>& arguments) override;
};

}  // namespace quarn::suite
