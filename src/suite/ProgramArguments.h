#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quarn::suite {

/// A --db value as `ps` may show it, of the same length: in a PostgreSQL connection string or
/// URI every character of the password and of the other secret entries libpq knows is replaced
/// by '*', where libpq reads them. When they cannot be found there (a value written with
/// escapes or percent-encoding), or libpq cannot parse the string, everything after the
/// "postgresql:" prefix is starred. Any other value (an SQLite file) is returned as it is.
std::string WithSecretsStarred(std::string_view database);

/// A program's arguments, copied for its parsers, with the secrets of every --db value starred
/// in the process's own argv memory, which `ps` and /proc/PID/cmdline show every local user.
/// Construct it first in main and give its copies, never argv, to the parsers (QApplication
/// keeps them: the object must outlive it).
class ProgramArguments {
  public:
    ProgramArguments(int argc, char** argv);
    ProgramArguments(const ProgramArguments&) = delete;
    ProgramArguments& operator=(const ProgramArguments&) = delete;

    /// The number of copies, as a reference, as QApplication takes it.
    int& Count() { return count_; }
    /// The copies, ending in nullptr; they still hold the secrets.
    char** Values() { return pointers_.data(); }

  private:
    int count_;
    std::vector<std::string> copies_;
    std::vector<char*> pointers_;
};

}  // namespace quarn::suite
