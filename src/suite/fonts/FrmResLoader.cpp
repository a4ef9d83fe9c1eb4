#include "suite/fonts/FrmResLoader.h"

namespace quarn::suite {

std::string FrmResLoader::FontFamilyFor(const std::string& language) {
    if (language == "CHS") {
        return "Noto Sans CJK SC";
    }
    if (language == "CHT") {
        return "Noto Sans CJK TC";
    }
    return "Sans Serif";
}

void FrmResLoader::SetFrmFont(IFontTarget& dialog, const std::string& language) {
    dialog.SetFormFont(FontFamilyFor(language), kPointSize);
}

}  // namespace quarn::suite
