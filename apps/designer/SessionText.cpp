#include "SessionText.h"

#include <string>

#include "runtime/SessionContext.h"

namespace quarn::designer {

QLocale SessionLocale() {
    const std::string language =
        subsysmgr::GetLanguageOrDefault(*subsysmgr::ModuleState::Current());
    if (language == "EN") {
        return QLocale(QLocale::English, QLocale::UnitedStates);
    }
    if (language == "CHT") {
        return QLocale(QLocale::Chinese, QLocale::TraditionalChineseScript, QLocale::Taiwan);
    }
    return QLocale(QLocale::Chinese, QLocale::China);
}

QString CountText(qlonglong count) {
    return SessionLocale().toString(count);
}

QString Counted(std::string_view text, qlonglong count) {
    QString localized = Tr(text);
    if (count == 1) {
        // A language without a form of its own for one has no such entry: the lookup returns
        // the key itself, and the general form stays.
        const std::string oneKey = std::string(text) + "|1";
        if (const QString one = Tr(oneKey); one != subsysmgr::ToQString(oneKey)) {
            localized = one;
        }
    }
    return localized.arg(CountText(count));
}

}  // namespace quarn::designer
