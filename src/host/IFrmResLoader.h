#pragma once

#include <string>

#include "quarn/host/Component.h"

namespace quarn {

/// A dialog as the form-font loader sees it: something whose font can be set.
class IFontTarget {
  public:
    virtual ~IFontTarget() = default;
    virtual void SetFormFont(const std::string& family, int pointSize) = 0;
};

/// FrmRes.FrmResLoader: chooses and applies the font of a dialog for a language.
class IFrmResLoader : public virtual Component {
  public:
    virtual void SetFrmFont(IFontTarget& dialog, const std::string& language) = 0;
};

}  // namespace quarn
