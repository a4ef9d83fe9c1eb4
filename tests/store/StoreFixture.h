#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "foundation/ComError.h"
#include "foundation/Variant.h"
#include "host/IMessageBox.h"
#include "runtime/ModuleState.h"
#include "suite/store/Database.h"

namespace quarn::suite {

enum class Backend { SQLite, PostgreSQL };

/// The connection string of the PostgreSQL server the tests may use, or "".
std::string TestServer();

/// A database of its own with the demo data: a file in a temporary folder, or a database
/// created on the test server. Removed again on destruction.
class ScratchDatabase {
  public:
    explicit ScratchDatabase(Backend backend);
    ~ScratchDatabase();
    ScratchDatabase(const ScratchDatabase&) = delete;
    ScratchDatabase& operator=(const ScratchDatabase&) = delete;

    /// The Database entry of a session context for it.
    std::string Entry() const;

    StoreLocation location;
    std::filesystem::path folder;  ///< SQLite only

  private:
    std::string pgName_;
};

/// Every message box shown, answered with OK.
class RecordingMessageBox : public IMessageBox {
  public:
    int32_t Show(const std::string& prompt, int32_t, const std::string&) override {
        prompts.push_back(prompt);
        return kMessageBoxResultOk;
    }
    std::vector<std::string> prompts;
};

/// Names in the three languages, as the editors pass them to DictName.
DictionaryPtr Names(const std::string& chs, const std::string& cht, const std::string& en);

/// Publishes the context for this process and installs a fresh module state over our own
/// suite components; returns the state.
std::shared_ptr<subsysmgr::ModuleState> InstallSession(const std::string& context);

/// A scratch database on either store, published as the session's database with Language=EN,
/// and a module state over our suite components that records its message boxes. Connections
/// are closed and the previous module state is restored afterwards.
class StoreTest : public ::testing::TestWithParam<Backend> {
  protected:
    void SetUp() override;
    void TearDown() override;

    std::string Context() const { return scratch->Entry() + ";Language=EN;"; }
    /// A query on a connection of the test's own, so nothing the session caches takes part.
    std::shared_ptr<const RecordTable> Stored(const std::string& sql) const;
    /// The first value of the query's first row, or Empty without rows.
    Variant StoredValue(const std::string& sql) const;
    int32_t StoredCount(const std::string& table, const std::string& condition) const {
        return StoredValue("SELECT count(*) FROM " + table + " WHERE " + condition).ToInt32();
    }

    std::unique_ptr<ScratchDatabase> scratch;
    std::shared_ptr<subsysmgr::ModuleState> module;
    std::shared_ptr<RecordingMessageBox> messages = std::make_shared<RecordingMessageBox>();

  private:
    std::shared_ptr<subsysmgr::ModuleState> previous_;
    mutable std::shared_ptr<Database> reader_;
};

std::string BackendName(const ::testing::TestParamInfo<Backend>& info);

/// The error number a call raised as ComError, or 0 when it returned.
template <class Call>
int32_t ErrorOf(Call&& call) {
    try {
        call();
    } catch (const ComError& error) {
        return error.Number();
    }
    return 0;
}

}  // namespace quarn::suite
