#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <fstream>

#include "store/StoreFixture.h"
#include "suite/props/ShareProps.h"
#include "suite/store/DatasUpdate.h"
#include "suite/store/StoreErrors.h"

namespace quarn::suite {
namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The error a call raised, with its description.
template <class Call>
ComError Raised(Call&& call) {
    try {
        call();
    } catch (const ComError& error) {
        return error;
    }
    return ComError(0, "", "nothing was raised");
}

class StoreBadInput : public ::testing::Test {
  protected:
    ~StoreBadInput() override { Database::CloseShared(); }
    ScratchDatabase scratch{Backend::SQLite};
};

TEST_F(StoreBadInput, ADatabaseThatCannotBeUsedIsRefusedAndLeftAsItWas) {
    EXPECT_EQ(ErrorOf([] { Database::ForContext("Database=mysql:x"); }),
              ErrorNumber(StoreError::InvalidLocation));
    const auto missing = scratch.folder / "missing.sqlite";
    EXPECT_EQ(ErrorOf([&] { Database::ForContext("Database=sqlite:" + missing.string()); }),
              ErrorNumber(StoreError::Unavailable));
    EXPECT_FALSE(std::filesystem::exists(missing));

    const auto notes = scratch.folder / "notes.txt";
    const std::string text(4096, 'x');
    std::ofstream(notes) << text;
    const ComError error =
        Raised([&] { Database::ForContext("Database=sqlite:" + notes.string()); });
    EXPECT_EQ(error.Number(), ErrorNumber(StoreError::Unavailable));
    EXPECT_THAT(error.Description(), ::testing::HasSubstr(notes.string()));
    EXPECT_EQ(std::filesystem::file_size(notes), text.size());
}

TEST_F(StoreBadInput, ADatabaseOfANewerSchemaIsRefusedNamingBothVersions) {
    Database::Open(scratch.location, {})
        ->Execute("INSERT INTO t_SchemaVersion VALUES (99)", "test");
    const ComError error = Raised([&] { Database::Open(scratch.location, {}); });
    EXPECT_EQ(error.Number(), ErrorNumber(StoreError::NewerSchema));
    EXPECT_THAT(error.Description(), ::testing::HasSubstr("version 99"));
    EXPECT_THAT(error.Description(), ::testing::HasSubstr("up to 1"));
}

TEST_F(StoreBadInput, AServerThatDoesNotAnswerIsUnavailableQuickly) {
    const auto start = Clock::now();
    EXPECT_EQ(ErrorOf([] {
                  Database::ForContext("Database=postgresql:host=127.0.0.1 port=1 dbname=x user=x");
              }),
              ErrorNumber(StoreError::Unavailable));
    EXPECT_LT(SecondsSince(start), 5.0);
}

TEST_F(StoreBadInput, AWriteWaitsForTheBusyTimeoutThenFailsWithoutWriting) {
    const std::string context = "Database=sqlite:" + scratch.location.target + ";BusyTimeout=1;";
    ShareProps().SetProperty(static_cast<int32_t>(::getpid()), "PropsString", Variant(context));
    DatasUpdate update;
    const DictionaryPtr record = Dictionary::Create();
    record->Item("FSubSysID", 8100);
    record->Item("FSysName", "条码打印");
    record->Item("FSysNameEN", "Barcode Printing");

    const auto other = Database::Open(scratch.location, {});
    other->Begin();
    const auto start = Clock::now();
    EXPECT_EQ(ErrorOf([&] { update.CreateSubSys(850, 6, record, true); }),
              ErrorNumber(StoreError::Busy));
    EXPECT_GT(SecondsSince(start), 0.9);
    EXPECT_LT(SecondsSince(start), 5.0);
    other->Rollback();

    const auto count = [&] {
        return other
            ->Query("SELECT count(*) FROM t_DataFlowSubSystem WHERE FSubSysID = 8100", "test")
            ->Value(0, 0)
            .ToInt32();
    };
    EXPECT_EQ(count(), 0);
    update.CreateSubSys(850, 6, record, true);  // the connection was not left in a transaction
    EXPECT_EQ(count(), 1);
}

}  // namespace
}  // namespace quarn::suite
