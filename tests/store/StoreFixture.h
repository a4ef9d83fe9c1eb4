#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "foundation/ComError.h"
#include "foundation/RaisedError.h"
#include "foundation/Variant.h"
#include "host/IMessageBox.h"
#include "model/SubSystem.h"
#include "runtime/ModuleState.h"
#include "suite/HostSession.h"
#include "suite/store/Connection.h"
#include "suite/store/StoreLocation.h"

namespace quarn::suite {

/// The business objects' refusal of a save or revert over a change another user made since.
inline constexpr int32_t kChangedElsewhere = ObjectError(1042);

/// SQLite, and PostgreSQL on a server that reports in English and on one that reports in
/// Chinese: the same refusals must give the same errors on all of them.
enum class Backend { SQLite, PostgreSQL, PostgreSQLChinese };

/// The connection string of the PostgreSQL server the tests may use for the backend, or "".
std::string TestServer(Backend backend = Backend::PostgreSQL);

/// A database of its own with the demo data: a file in a temporary folder, or a database
/// created on the test server. Removed again on destruction.
class ScratchDatabase {
  public:
    explicit ScratchDatabase(Backend backend);
    ~ScratchDatabase();
    ScratchDatabase(const ScratchDatabase&) = delete;
    ScratchDatabase& operator=(const ScratchDatabase&) = delete;

    /// The name of the database as a host passes it ("sqlite:<file>", "postgresql:<...>").
    std::string Spec() const;
    /// The Database entry of a session context for it.
    std::string Entry() const { return "Database=" + Spec(); }

    StoreLocation location;
    std::filesystem::path folder;  ///< SQLite only

  private:
    Backend backend_;
    std::string pgName_;
};

/// Every message box shown, answered with the next of `answers`, OK when there are none left.
class RecordingMessageBox : public IMessageBox {
  public:
    int32_t Show(const std::string& prompt, int32_t, const std::string&) override {
        prompts.push_back(prompt);
        if (answers.empty()) {
            return kMessageBoxResultOk;
        }
        const int32_t answer = answers.front();
        answers.erase(answers.begin());
        return answer;
    }
    std::vector<std::string> prompts;
    std::vector<int32_t> answers;
};

/// What the subsystem editor records before it lets the user change a loaded subsystem.
void StartEditing(subsysmgr::SubSystem& subSystem);

/// Names in the three languages, as the editors pass them to DictName.
DictionaryPtr Names(const std::string& chs, const std::string& cht, const std::string& en);

/// A scratch database on either store, opened by a host session in English whose module state
/// records its message boxes. The previous module state is restored afterwards.
class StoreTest : public ::testing::TestWithParam<Backend> {
  protected:
    void SetUp() override;
    void TearDown() override;

    std::string Context() const { return host->Context(); }
    /// A query on a connection of the test's own, so nothing the session caches takes part.
    std::shared_ptr<const RecordTable> Stored(const std::string& sql) const;
    /// Runs a statement that changes the database or the server (as the test server's
    /// superuser), on the test's own connection.
    void Administer(const std::string& sql) const;
    /// The first value of the query's first row, or Empty without rows.
    Variant StoredValue(const std::string& sql) const;
    int32_t StoredCount(const std::string& table, const std::string& condition) const {
        return StoredValue("SELECT count(*) FROM " + table + " WHERE " + condition).ToInt32();
    }
    /// The stored English name of the subsystem, or "-".
    std::string StoredName(int32_t subSystemId) const;
    /// The English name the session's data-flow information holds now (no reload), or "-".
    std::string CachedName(int32_t subSystemId) const;

    std::unique_ptr<ScratchDatabase> scratch;
    std::unique_ptr<HostSession> host;
    std::shared_ptr<subsysmgr::ModuleState> module;
    std::shared_ptr<RecordingMessageBox> messages = std::make_shared<RecordingMessageBox>();

  private:
    std::shared_ptr<subsysmgr::ModuleState> previous_;
    mutable std::unique_ptr<Connection> reader_;
};

std::string BackendName(const ::testing::TestParamInfo<Backend>& info);

/// Every backend whose server is there.
::testing::internal::ParamGenerator<Backend> AllBackends();

}  // namespace quarn::suite
