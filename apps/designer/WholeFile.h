#pragma once

#include <QString>
#include <string>

#include "exchange/ExchangeText.h"

namespace quarn::designer {

/// The whole of the file at `path`, for a reader that checks all of it before anything is
/// written; raises the tool's kFileUnreadable, naming the file, when it cannot be read.
std::string ReadWholeFile(const QString& path, const subsysmgr::exchange::ExchangeText& text);

}  // namespace quarn::designer
