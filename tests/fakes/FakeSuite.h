#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "fakes/CallLog.h"
#include "fakes/FakeDatasInfo.h"
#include "fakes/FakeDatasUpdate.h"
#include "fakes/FakeServices.h"
#include "runtime/ModuleState.h"

namespace quarn::fakes {

/// A complete set of fake suite components behind a registry of their own, and a fresh module
/// state over it, installed as the current one for the life of the FakeSuite. Every component
/// is one object for the whole test, so a test can prepare it before the code under test
/// creates it and inspect it afterwards; creations are counted.
class FakeSuite {
  public:
    FakeSuite();
    ~FakeSuite();
    FakeSuite(const FakeSuite&) = delete;
    FakeSuite& operator=(const FakeSuite&) = delete;

    /// Publishes the session context string for the module's process.
    void SetContext(const std::string& propsString);

    /// Makes creating the component fail as if it were not installed.
    void Uninstall(std::string_view progId);
    /// How often the component was created.
    int Creations(std::string_view progId) const;

    /// Serves the group listing and the count queries that the business objects send to
    /// GetData from the tables of the fake data-flow information, business objects of a
    /// subsystem from `businessObjectCounts`; other queries get no rows.
    void AnswerQueriesFromTables();

    /// ICClassType rows by subsystem identifier, for the deletion guard.
    std::map<int32_t, int32_t> businessObjectCounts;

    std::shared_ptr<CallLog> calls = std::make_shared<CallLog>();
    std::shared_ptr<FakeDatasInfo> datasInfo = std::make_shared<FakeDatasInfo>(calls);
    std::shared_ptr<FakeDatasUpdate> datasUpdate =
        std::make_shared<FakeDatasUpdate>(calls, datasInfo);
    std::shared_ptr<FakeClassInfo> classInfo = std::make_shared<FakeClassInfo>(calls);
    std::shared_ptr<FakeClassDefineInfo> classDefineInfo =
        std::make_shared<FakeClassDefineInfo>(calls);
    std::shared_ptr<FakeRptAction> rptAction = std::make_shared<FakeRptAction>(calls);
    std::shared_ptr<FakeShareProps> shareProps = std::make_shared<FakeShareProps>(calls);
    std::shared_ptr<FakeResLoader> resLoader = std::make_shared<FakeResLoader>(calls);
    std::shared_ptr<FakeLog> log = std::make_shared<FakeLog>(calls);
    std::shared_ptr<FakeChmHelp> help = std::make_shared<FakeChmHelp>(calls);
    std::shared_ptr<FakeFrmResLoader> frmResLoader = std::make_shared<FakeFrmResLoader>(calls);
    std::shared_ptr<FakeMessageFormatter> formatter = std::make_shared<FakeMessageFormatter>(calls);
    std::shared_ptr<FakeMessageBox> messageBox = std::make_shared<FakeMessageBox>(calls);

    std::shared_ptr<ComponentRegistry> registry = std::make_shared<ComponentRegistry>();
    std::shared_ptr<quarn::subsysmgr::ModuleState> module;

  private:
    template <class T>
    void Install(std::string_view progId, std::shared_ptr<T> component);

    std::map<std::string, int, std::less<>> creations_;
    std::shared_ptr<quarn::subsysmgr::ModuleState> previousModule_;
};

}  // namespace quarn::fakes
