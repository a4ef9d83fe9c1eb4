#pragma once

#include <QLocale>
#include <QString>
#include <string_view>

#include "runtime/LocalText.h"
#include "runtime/ModuleState.h"
#include "ui/QtText.h"

namespace quarn::designer {

/// A text in the session language: one of the designer's (DesignerTexts.h), looked up as its
/// own resource key like the component's.
inline QString Tr(std::string_view text) {
    return subsysmgr::ToQString(subsysmgr::GetLocalText(*subsysmgr::ModuleState::Current(), text));
}

/// How the session language writes numbers and times: the language's own locale, not the
/// desktop's, so that a window speaks one language.
QLocale SessionLocale();

/// A count as the session's locale writes it ("12,345").
QString CountText(qlonglong count);

/// A text whose %1 is a count, in the session language: the catalog's form for one (the entry
/// keyed "<text>|1", where the language has one: "1 item found.") when the count is 1, and the
/// count as CountText writes it.
QString Counted(std::string_view text, qlonglong count);

}  // namespace quarn::designer
