#include "ui/QtTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <QVariant>
#include <QtDebug>

namespace quarn::subsysmgr {

namespace {

// The translator belongs to the application and is found again by its name, so there is one
// whatever number of sessions installs it.
const QString& TranslatorName() {
    static const QString name = QStringLiteral("quarn-qt-translations");
    return name;
}

constexpr const char* kCatalogProperty = "catalog";

}  // namespace

QString QtCatalogFor(const std::string& language) {
    if (language == "CHS") {
        return QStringLiteral("qtbase_zh_CN");
    }
    if (language == "CHT") {
        return QStringLiteral("qtbase_zh_TW");
    }
    return {};
}

bool InstallQtTranslations(const std::string& language) {
    QCoreApplication* application = QCoreApplication::instance();
    if (!application) {
        return false;  // nothing shows Qt's texts yet
    }
    const QString catalog = QtCatalogFor(language);
    auto* current =
        application->findChild<QTranslator*>(TranslatorName(), Qt::FindDirectChildrenOnly);
    if (current && current->property(kCatalogProperty).toString() == catalog) {
        return !current->isEmpty();
    }
    if (current) {
        QCoreApplication::removeTranslator(current);
        delete current;
    }
    if (catalog.isEmpty()) {
        return true;
    }
    // A catalog that failed to load stays as an empty translator, so that the next call for the
    // same language neither reads the folder nor warns again.
    auto* translator = new QTranslator(application);
    translator->setObjectName(TranslatorName());
    translator->setProperty(kCatalogProperty, catalog);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(catalog, folder)) {
        qWarning("Qt's own texts stay English: %s.qm is not in %s (package qt6-translations-l10n)",
                 qUtf8Printable(catalog), qUtf8Printable(folder));
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

}  // namespace quarn::subsysmgr
