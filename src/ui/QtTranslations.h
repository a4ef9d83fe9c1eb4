#pragma once

#include <QString>
#include <string>

namespace quarn::subsysmgr {

/// The base name of Qt's own catalog for a session language: "qtbase_zh_CN" for CHS,
/// "qtbase_zh_TW" for CHT, "" for English and every other language (Qt's texts are English).
QString QtCatalogFor(const std::string& language);

/// Makes Qt's own texts (standard buttons of message boxes, the context menus of text fields,
/// file dialogs) follow the session language: loads the language's catalog from Qt's
/// translations folder (QLibraryInfo::TranslationsPath) into the running application, in place
/// of the one an earlier language installed. Nothing happens when the language's catalog was
/// installed (or looked for) already, so callers may call it whenever a session may have changed
/// its language. Returns false when the catalog file is missing (Debian package
/// qt6-translations-l10n), with a warning on Qt's log the first time; Qt's texts are then
/// English. Returns false without a QCoreApplication.
bool InstallQtTranslations(const std::string& language);

}  // namespace quarn::subsysmgr
