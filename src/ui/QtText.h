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

}  // namespace quarn::subsysmgr
