#pragma once

#include <sqlite3.h>

#include <cstdint>
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
int32_t SubSystemId(int32_t subSystem);
std::string SubSystemNameEN(int32_t subSystem);
std::string SubSystemNameCHS(int32_t subSystem);
std::string SubSystemNameCHT(int32_t subSystem);

/// Writes the tree into a database that already has the schema (one transaction).
void FillTree(sqlite3* database, TreeSize size);

/// A new SQLite file with the schema and the tree; returns its path.
std::string CreateTreeFile(TreeSize size);

/// An in-memory SQLite database with the schema and the tree, for the direct queries.
sqlite3* CreateTreeInMemory(TreeSize size);

}  // namespace quarn::bench
