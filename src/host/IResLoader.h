#pragma once

#include <string>

#include "quarn/host/Component.h"

namespace quarn {

/// QuarnResLoader.Loader: the texts of the suite in the session language. The source texts are
/// their own keys.
class IResLoader : public virtual Component {
  public:
    virtual std::string ResFileBaseName() const = 0;
    virtual void ResFileBaseName(const std::string& value) = 0;
    virtual std::string LanguageID() const = 0;
    virtual void LanguageID(const std::string& value) = 0;
    /// The text for a key in the current language.
    virtual std::string LoadString(const std::string& key) = 0;
};

}  // namespace quarn
