#pragma once

#include <cstdint>

namespace quarn::suite {

/// Tells a host window when anyone (another user, another program, a person at an SQL console)
/// changed the session's tree, so that it can follow other users' work without re-reading
/// what did not change. Not thread-safe; one per window.
class ChangeWatch {
  public:
    virtual ~ChangeWatch() = default;

    /// A socket that becomes readable when a change is announced (PostgreSQL), or -1 when the
    /// host asks on a timer (SQLite).
    virtual int Socket() const = 0;

    /// A mark of the tree's last committed change: it differs from an earlier mark exactly when
    /// the tree changed in between. Cheap when nothing changed: SQLite reads the log only after
    /// another connection committed, PostgreSQL takes the announced numbers without a round
    /// trip. Raises the store's errors (a lost server connection).
    virtual int64_t LastChange() = 0;
};

}  // namespace quarn::suite
