#include "store/StoreFixture.h"

#include <unistd.h>

#include <cstdlib>
#include <random>

#include "host/ComponentRegistry.h"
#include "suite/SuiteComponents.h"
#include "suite/props/ShareProps.h"

namespace quarn::suite {

std::string TestServer() {
    const char* server = std::getenv("QUARN_TEST_PG");
    return server ? server : "";
}

ScratchDatabase::ScratchDatabase(Backend backend) {
    if (backend == Backend::SQLite) {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quarn_store_XXXXXX").string();
        folder = ::mkdtemp(pattern.data());
        location = {StoreLocation::Kind::SQLite, (folder / "tree.sqlite").string()};
    } else {
        pgName_ = "quarn_t_" + std::to_string(std::random_device()() % 1000000000u);
        Database::Open({StoreLocation::Kind::PostgreSQL, TestServer()}, {})
            ->Execute("CREATE DATABASE " + pgName_, "test");
        // Of repeated keywords libpq takes the last.
        location = {StoreLocation::Kind::PostgreSQL, TestServer() + " dbname=" + pgName_};
    }
    Database::Open(location, {.createIfMissing = true, .loadDemoData = true});
}

ScratchDatabase::~ScratchDatabase() {
    Database::CloseShared();
    if (!pgName_.empty()) {
        try {
            Database::Open({StoreLocation::Kind::PostgreSQL, TestServer()}, {})
                ->Execute("DROP DATABASE IF EXISTS " + pgName_ + " WITH (FORCE)", "test");
        } catch (const ComError& error) {
            ADD_FAILURE() << "cannot drop " << pgName_ << ": " << error.Description();
        }
    }
    if (!folder.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
}

std::string ScratchDatabase::Entry() const {
    return (location.kind == StoreLocation::Kind::SQLite ? "Database=sqlite:"
                                                         : "Database=postgresql:") +
           location.target;
}

DictionaryPtr Names(const std::string& chs, const std::string& cht, const std::string& en) {
    const DictionaryPtr names = Dictionary::Create();
    names->Item("CHS", chs);
    names->Item("CHT", cht);
    names->Item("EN", en);
    return names;
}

std::shared_ptr<subsysmgr::ModuleState> InstallSession(const std::string& context) {
    ShareProps().SetProperty(static_cast<int32_t>(::getpid()), "PropsString", Variant(context));
    auto registry = std::make_shared<ComponentRegistry>();
    RegisterSuiteComponents(*registry);
    auto module = std::make_shared<subsysmgr::ModuleState>(registry);
    subsysmgr::ModuleState::Install(module);
    return module;
}

void StoreTest::SetUp() {
    if (GetParam() == Backend::PostgreSQL && TestServer().empty()) {
        GTEST_SKIP() << "QUARN_TEST_PG is not set: run under scripts/with-postgres to test the "
                        "PostgreSQL store";
    }
    scratch = std::make_unique<ScratchDatabase>(GetParam());
    previous_ = subsysmgr::ModuleState::Current();
    module = InstallSession(Context());
    module->messageBox = messages;
}

void StoreTest::TearDown() {
    if (previous_) {
        subsysmgr::ModuleState::Install(previous_);
    }
    module.reset();  // its data-flow information holds a connection
    reader_.reset();
    Database::CloseShared();
    scratch.reset();
}

std::shared_ptr<const RecordTable> StoreTest::Stored(const std::string& sql) const {
    if (!reader_) {
        reader_ = Database::Open(scratch->location, {});
    }
    return reader_->Query(sql, "test");
}

Variant StoreTest::StoredValue(const std::string& sql) const {
    const auto table = Stored(sql);
    const auto rows = table->LiveRows();
    return rows.empty() ? Variant() : table->Value(rows.front(), 0);
}

std::string BackendName(const ::testing::TestParamInfo<Backend>& info) {
    return info.param == Backend::SQLite ? "SQLite" : "PostgreSQL";
}

}  // namespace quarn::suite
