#include "WholeFile.h"

#include <QFile>

#include "exchange/ExchangeErrors.h"

namespace quarn::designer {

std::string ReadWholeFile(const QString& path, const subsysmgr::exchange::ExchangeText& text) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        text.Raise(subsysmgr::exchange::errors::kFileUnreadable, {path.toStdString()});
    }
    const QByteArray content = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        text.Raise(subsysmgr::exchange::errors::kFileUnreadable, {path.toStdString()});
    }
    return content.toStdString();
}

}  // namespace quarn::designer
