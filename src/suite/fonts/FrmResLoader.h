#pragma once

#include <string>

#include "host/IFrmResLoader.h"

namespace quarn::suite {

/// FrmRes.FrmResLoader: a CJK font for the Chinese sessions, the platform's sans-serif font
/// otherwise, in the suite's dialog size.
class FrmResLoader : public IFrmResLoader {
  public:
    void SetFrmFont(IFontTarget& dialog, const std::string& language) override;

    /// The font family for a language code.
    static std::string FontFamilyFor(const std::string& language);
    static constexpr int kPointSize = 9;
};

}  // namespace quarn::suite
