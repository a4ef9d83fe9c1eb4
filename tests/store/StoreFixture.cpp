#include "store/StoreFixture.h"

#include <unistd.h>

#include <cstdlib>
#include <random>

#include "suite/store/Database.h"
#include "suite/store/NewDatabase.h"

namespace quarn::suite {

std::string TestServer(Backend backend) {
    const char* server =
        std::getenv(backend == Backend::PostgreSQLChinese ? "QUARN_TEST_PG_ZH" : "QUARN_TEST_PG");
    return server ? server : "";
}

ScratchDatabase::ScratchDatabase(Backend backend) : backend_(backend) {
    if (backend == Backend::SQLite) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quarn_store_XXXXXX").string();
        folder = ::mkdtemp(pattern.data());
        location = StoreLocation::FromDatabaseSpec("sqlite:" + (folder / "tree.sqlite").string());
    } else {
        pgName_ = "quarn_t_" + std::to_string(std::random_device()() % 1000000000u);
        Connect(StoreLocation::FromDatabaseSpec("postgresql:" + TestServer(backend)),
                OpenMode::ReadWrite)
            ->Execute("CREATE DATABASE " + pgName_);
        // Of repeated keywords libpq takes the last.
        location = StoreLocation::FromDatabaseSpec("postgresql:" + TestServer(backend) +
                                                   " dbname=" + pgName_);
    }
    CreateDatabaseAt(location, DatabaseContent::DemoData);
}

ScratchDatabase::~ScratchDatabase() {
    if (!pgName_.empty()) {
        try {
            Connect(StoreLocation::FromDatabaseSpec("postgresql:" + TestServer(backend_)),
                    OpenMode::ReadWrite)
                ->Execute("DROP DATABASE IF EXISTS " + pgName_ + " WITH (FORCE)");
        } catch (const ComError& error) {
            ADD_FAILURE() << "cannot drop " << pgName_ << ": " << error.Description();
        }
    }
    if (!folder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
}

std::string ScratchDatabase::Spec() const {
    return location.ContextValue();
}

DictionaryPtr Names(const std::string& chs, const std::string& cht, const std::string& en) {
    const DictionaryPtr names = Dictionary::Create();
    names->Item("CHS", chs);
    names->Item("CHT", cht);
    names->Item("EN", en);
    return names;
}

void StoreTest::SetUp() {
    if (GetParam() != Backend::SQLite && TestServer(GetParam()).empty()) {
        GTEST_SKIP() << "no test server for " << BackendName({GetParam(), 0})
                     << ": run under scripts/with-postgres to test the PostgreSQL store";
    }
    scratch = std::make_unique<ScratchDatabase>(GetParam());
    previous_ = subsysmgr::ModuleState::Current();
    host = std::make_unique<HostSession>(scratch->Spec(), "EN");
    host->Activate();
    module = host->Module();
    module->messageBox = messages;
}

void StoreTest::TearDown() {
    if (previous_) {
        subsysmgr::ModuleState::Install(previous_);
    }
    module.reset();
    host.reset();  // closes the session's connections
    reader_.reset();
    scratch.reset();
}

std::shared_ptr<const RecordTable> StoreTest::Stored(const std::string& sql) const {
    if (!reader_) {
        reader_ = Connect(scratch->location, OpenMode::ReadWrite);
    }
    return reader_->Query(sql, {});
}

void StoreTest::Administer(const std::string& sql) const {
    Stored("SELECT 1");  // the connection
    reader_->Execute(sql);
}

Variant StoreTest::StoredValue(const std::string& sql) const {
    const auto table = Stored(sql);
    const auto rows = table->LiveRows();
    return rows.empty() ? Variant() : table->Value(rows.front(), 0);
}

std::string StoreTest::StoredName(int32_t subSystemId) const {
    const Variant name = StoredValue("SELECT FName_EN FROM t_DataFlowSubSystem WHERE FSubSysID = " +
                                     std::to_string(subSystemId));
    return name.IsEmpty() ? "-" : name.ToText();
}

std::string StoreTest::CachedName(int32_t subSystemId) const {
    const RecordsetPtr rows = module->dataFlowInfo->GetSubSystem_All(Variant(int16_t{-1}));
    rows->Filter("FSubSysID=" + std::to_string(subSystemId));
    return rows->Eof() ? "-" : rows->Fields("FName_EN").ToText();
}

void StartEditing(subsysmgr::SubSystem& subSystem) {
    subSystem.SubSystemID_Old(subSystem.Id());
    subSystem.SubSystemName_Old(subSystem.Name());
    subSystem.SubSystemNameCHS_Old(subSystem.NameCHS());
    subSystem.SubSystemNameCHT_Old(subSystem.NameCHT());
    subSystem.SubSystemNameEN_Old(subSystem.NameEN());
}

std::string BackendName(const ::testing::TestParamInfo<Backend>& info) {
    switch (info.param) {
        case Backend::SQLite:
            return "SQLite";
        case Backend::PostgreSQL:
            return "PostgreSQL";
        case Backend::PostgreSQLChinese:
            return "PostgreSQLChinese";
    }
    return "?";
}

::testing::internal::ParamGenerator<Backend> AllBackends() {
    return ::testing::Values(Backend::SQLite, Backend::PostgreSQL, Backend::PostgreSQLChinese);
}

}  // namespace quarn::suite
