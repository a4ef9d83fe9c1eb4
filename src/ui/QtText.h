#pragma once

#include <QString>
#include <string>
#include <string_view>

/// Conversions between the component's UTF-8 texts and Qt's strings.
namespace quarn::subsysmgr {

inline QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline std::string ToStdString(const QString& text) {
    return text.toStdString();
}

/// What a field holds: `given` while the field still shows exactly what ToQString made of it,
/// else the text shown. Bytes that are not UTF-8 (left by another program) would come back from
/// Qt as U+FFFD, so a field the user did not touch keeps its stored bytes and the editor's own
/// check names it instead of writing the replacement silently.
inline std::string ToStdString(const QString& shown, const std::string& given) {
    return shown == ToQString(given) ? given : shown.toStdString();
}

}  // namespace quarn::subsysmgr
