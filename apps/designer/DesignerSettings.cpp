#include "DesignerSettings.h"

#include <QSettings>

#include "foundation/ComError.h"

namespace quarn::designer {

namespace {

const QString kLanguageKey = QStringLiteral("session/language");
const QString kDatabaseKey = QStringLiteral("session/database");

}  // namespace

std::string RememberedLanguage() {
    return QSettings().value(kLanguageKey, QStringLiteral("EN")).toString().toStdString();
}

void RememberLanguage(const std::string& language) {
    QSettings().setValue(kLanguageKey, QString::fromStdString(language));
}

std::unique_ptr<suite::HostSession> RememberedSession(const std::string& language) {
    const std::string database = QSettings().value(kDatabaseKey).toString().toStdString();
    try {
        auto session = std::make_unique<suite::HostSession>(database, language);
        if (!database.empty()) {
            RememberDatabase(*session);
        }
        return session;
    } catch (const ComError&) {
        QSettings().remove(kDatabaseKey);
        return std::make_unique<suite::HostSession>("", language);
    }
}

void RememberDatabase(const suite::HostSession& session) {
    QSettings().setValue(kDatabaseKey, QString::fromStdString(session.DatabaseSpec()));
}

}  // namespace quarn::designer
