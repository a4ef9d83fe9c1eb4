#pragma once

#include <libpq-fe.h>
#include <sqlite3.h>

#include <cstdint>
#include <memory>
#include <string>

namespace quarn::bench {

/// A functional tree of `subSystems` subsystems in groups of 100 (at least one group), with
/// identifiers 100000 upwards for groups and subsystems (most of them in the range that may be
/// changed), every name unique
/// per language.
struct TreeSize {
    int32_t subSystems;
    int32_t Groups() const { return subSystems < 100 ? 1 : subSystems / 100; }
};

/// Group and subsystem identifiers and names of the generated tree.
int32_t GroupId(int32_t group);
std::string GroupNameEN(int32_t group);
std::string GroupNameCHS(int32_t group);
std::string GroupNameCHT(int32_t group);
int32_t SubSystemId(int32_t subSystem);
std::string SubSystemNameEN(int32_t subSystem);
std::string SubSystemNameCHS(int32_t subSystem);
std::string SubSystemNameCHT(int32_t subSystem);

/// Writes the tree into a database that already has the schema (one transaction).
void FillTree(sqlite3* database, TreeSize size);

/// A new SQLite file with the schema and the tree; returns its path.
std::string CreateTreeFile(TreeSize size);

/// Adds to the SQLite file at `path` the account type the generated subsystems name (the tree
/// replaces the delivered ones), so that the editors' checks pass. Throws std::runtime_error.
void AddAccountTypes(const std::string& path);

/// Seals the change log of the SQLite file at `path` with an empty write of ours: rows written
/// with the bare C API were logged unsealed, as another program's, and a database this program
/// writes holds them sealed.
void SealLog(const std::string& path);

/// An in-memory SQLite database with the schema and the tree, for the direct queries.
sqlite3* CreateTreeInMemory(TreeSize size);

/// A libpq connection, closed with the handle.
using PostgresHandle = std::unique_ptr<PGconn, decltype(&PQfinish)>;
/// Throws std::runtime_error when the server cannot be reached.
PostgresHandle ConnectPostgres(const std::string& conninfo);

/// A new database on the PostgreSQL server that `serverConninfo` (a superuser's libpq
/// connection string) reaches, with the suite's schema and the tree; returns the libpq
/// connection string of the new database. Throws std::runtime_error on a failure.
std::string CreateTreePostgres(const std::string& serverConninfo, TreeSize size);
/// Drops that database, closing the connections that still use it. Never throws.
void DropTreePostgres(const std::string& serverConninfo, TreeSize size) noexcept;

}  // namespace quarn::bench
