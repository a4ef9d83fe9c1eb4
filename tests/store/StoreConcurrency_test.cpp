#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <exception>
#include <fstream>
#include <functional>
#include <set>

#include "model/ModelErrors.h"
#include "model/SubSysGroup.h"
#include "model/SubSystem.h"
#include "store/StoreFixture.h"
#include "suite/store/StoreErrors.h"

namespace quarn::suite {
namespace {

using subsysmgr::SubSysGroup;
using subsysmgr::SubSystem;
namespace errors = subsysmgr::errors;

// The outcome of a save that was declined without an error: nothing to do, or a deletion
// refused with a message box. Success is 0, a failure the number of its ComError.
constexpr int32_t kDeclined = 1;
constexpr int32_t kSilentFailure = 2;  // not written, and no error said why

// One save through the model, as the editors make it.
int32_t Outcome(const std::function<int32_t()>& save) {
    try {
        return save();
    } catch (const ComError& error) {
        return error.Number();
    }
}

int32_t AddSubSystem(int32_t groupId, int32_t id, const std::string& name) {
    return Outcome([&] {
        SubSysGroup group;  // an editor that does not know whether the group still exists
        group.OptType(subsysmgr::enm_OptType_SubSystem);
        const auto subSystem = SubSystem::Create();
        subSystem->SubSystemGroupID(groupId);
        subSystem->Id(id);
        subSystem->DictName(Names("子" + name, "子" + name + "繁", name));
        group.UpdateSubSystem(subSystem);
        if (group.Save()) {
            return 0;
        }
        const std::exception_ptr failure = group.LastSaveFailure();
        return failure ? RaisedError([&] { std::rethrow_exception(failure); }) : kSilentFailure;
    });
}

int32_t DeletePilotGroup() {
    return Outcome([&] {
        SubSysGroup group;
        if (!group.initial(852)) {
            return kDeclined;
        }
        group.Deleted(true);
        return group.Save() ? 0 : kDeclined;
    });
}

int32_t CreatePilotGroup() {
    return Outcome([&] {
        SubSysGroup group;
        group.Id(852);
        if (!group.IsNew()) {
            return kDeclined;
        }
        group.DictName(Names("试点项目", "試點專案", "Pilot Projects"));
        return group.Save() ? 0 : kDeclined;
    });
}

// One writer process: adds 8100-8129 to group 850 (upwards or downwards, the names repeating
// after 20), and either deletes and re-creates group 852 or adds subsystems to it. Reports each
// save as "<kind> <id> <group> <outcome> <English name>".
void RunWriter(int role, const std::string& database, const std::string& reportFile) {
    HostSession host(database, "EN");
    host.Activate();
    host.Module()->messageBox = std::make_shared<RecordingMessageBox>();
    std::ofstream report(reportFile);
    for (int32_t i = 0; i < 30; ++i) {
        const int32_t id = 8100 + (role == 0 ? i : 29 - i);
        const std::string name = "Extra " + std::to_string(i % 20);
        report << "S " << id << " 850 " << AddSubSystem(850, id, name) << " " << name << std::endl;
        if (i % 5 != 2) {
            continue;
        }
        if (role == 0) {
            report << "D 852 0 " << DeletePilotGroup() << " -" << std::endl;
            report << "C 852 0 " << CreatePilotGroup() << " -" << std::endl;
        } else {
            const int32_t pilotId = 8130 + i / 5;
            const std::string pilotName = "Pilot " + std::to_string(pilotId);
            report << "S " << pilotId << " 852 " << AddSubSystem(852, pilotId, pilotName) << " "
                   << pilotName << std::endl;
        }
    }
}

struct Report {
    char kind;
    int32_t id;
    int32_t group;
    int32_t outcome;
    std::string name;
};

class StoreConcurrency : public StoreTest {};

TEST_P(StoreConcurrency, TwoProcessesSavingAtOnceLeaveAConsistentTree) {
    // No connection may cross the fork.
    module.reset();
    host.reset();
    std::string pattern =
        (std::filesystem::temp_directory_path() / "quarn_writers_XXXXXX").string();
    const std::filesystem::path folder = ::mkdtemp(pattern.data());

    std::vector<pid_t> children;
    for (int role = 0; role < 2; ++role) {
        const pid_t pid = ::fork();
        ASSERT_GE(pid, 0);
        if (pid == 0) {
            ::alarm(240);
            int code = 0;
            try {
                RunWriter(role, scratch->Spec(), (folder / std::to_string(role)).string());
            } catch (...) {
                code = 3;
            }
            ::_exit(code);
        }
        children.push_back(pid);
    }
    for (const pid_t child : children) {
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
    }

    const std::set<int32_t> clear{0,
                                  kDeclined,
                                  ErrorNumber(StoreError::Refused),
                                  ErrorNumber(StoreError::Busy),
                                  errors::kSubSystemIdTaken.Number(),
                                  errors::kSubSystemNameTaken.Number(),
                                  errors::kSubSystemNameCHTTaken.Number(),
                                  errors::kSubSystemNameENTaken.Number()};
    std::vector<Report> reports;
    for (int role = 0; role < 2; ++role) {
        std::ifstream in(folder / std::to_string(role));
        Report r;
        while (in >> r.kind >> r.id >> r.group >> r.outcome &&
               std::getline(in >> std::ws, r.name)) {
            reports.push_back(r);
        }
    }
    std::filesystem::remove_all(folder);
    EXPECT_EQ(reports.size(), 30u * 2 + 6 * 2 + 6);

    int added = 0;
    bool pilotExpected = true;
    for (const Report& r : reports) {
        SCOPED_TRACE(std::string(1, r.kind) + " " + std::to_string(r.id) + " " + r.name);
        EXPECT_TRUE(clear.count(r.outcome)) << "outcome " << r.outcome;
        if (r.kind == 'S' && r.outcome == 0) {
            ++added;
            EXPECT_EQ(StoredCount("t_DataFlowSubSystem",
                                  "FSubSysID = " + std::to_string(r.id) + " AND FTopClassID = " +
                                      std::to_string(r.group) + " AND FName_EN = '" + r.name + "'"),
                      1);
        }
        if (r.kind != 'S' && r.outcome == 0) {
            pilotExpected = r.kind == 'C';  // only the first writer changes the group
        }
    }
    EXPECT_GT(added, 0);
    EXPECT_EQ(StoredCount("t_DataFlowTopClass", "FTopClassID = 852"), pilotExpected ? 1 : 0);

    for (const char* column : {"FSubSysID", "FTopClassID, FName_CHS", "FTopClassID, FName_CHT",
                               "FTopClassID, FName_EN"}) {
        SCOPED_TRACE(column);
        EXPECT_EQ(Stored(std::string("SELECT ") + column + " FROM t_DataFlowSubSystem GROUP BY " +
                         column + " HAVING count(*) > 1")
                      ->LiveRowCount(),
                  0u);
    }
    EXPECT_EQ(StoredCount("t_DataFlowSubSystem s",
                          "NOT EXISTS (SELECT 1 FROM t_DataFlowTopClass g "
                          "WHERE g.FTopClassID = s.FTopClassID)"),
              0);
}

INSTANTIATE_TEST_SUITE_P(Stores, StoreConcurrency, AllBackends(), BackendName);

}  // namespace
}  // namespace quarn::suite
