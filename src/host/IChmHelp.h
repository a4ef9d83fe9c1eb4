#pragma once

#include <cstdint>
#include <string>

#include "quarn/host/Component.h"

namespace quarn {

/// QuarnCHMResTool.ClsCHMHelp: shows the help page of a topic.
class IChmHelp : public virtual Component {
  public:
    virtual void ShowHELP(int32_t topic, int16_t mode, const std::string& text1, int32_t number1,
                          const std::string& text2, int32_t number2) = 0;
};

}  // namespace quarn
