#pragma once

#include <memory>
#include <string>

#include "suite/HostSession.h"

/// What the designer remembers between runs in the application's QSettings: the language and
/// the database, the latter as the session names it, which is never with a password.
namespace quarn::designer {

/// The remembered language, EN without one.
std::string RememberedLanguage();
void RememberLanguage(const std::string& language);

/// A session over the remembered database, or over the demo database when none is remembered or
/// the remembered name can no longer be used (it is then forgotten). The name is remembered
/// again as the session gives it, which drops a password that an older version stored there.
std::unique_ptr<suite::HostSession> RememberedSession(const std::string& language);
void RememberDatabase(const suite::HostSession& session);

}  // namespace quarn::designer
