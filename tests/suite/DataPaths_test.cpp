#include "suite/DataPaths.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "foundation/ComError.h"

namespace quarn::suite {
namespace {

namespace fs = std::filesystem;

class DataPathsTest : public ::testing::Test {
  protected:
    ~DataPathsTest() override {
        unsetenv("QUARN_DATA_DIR");
        fs::remove_all(root);
    }
    static void MakeDataFolder(const fs::path& folder) {
        fs::create_directories(folder / "catalogs");
    }

    /// The description of the error DataDirectory or DataDirectoryBeside raised; fails the test
    /// when there was none or another one.
    template <typename Lookup>
    static std::string NotFoundError(Lookup lookup) {
        try {
            lookup();
        } catch (const ComError& error) {
            EXPECT_EQ(error.Number(), ObjectError(kDataFolderNotFound));
            return error.Description();
        }
        ADD_FAILURE() << "the data folder was found";
        return {};
    }

    const fs::path root = fs::temp_directory_path() / ("quarn-data-" + std::to_string(getpid()));
};

TEST_F(DataPathsTest, FindsTheDataOfAnInstallationWhereverItsModuleSits) {
    const fs::path prefix = root / "prefix";
    MakeDataFolder(prefix / "share/quarn");

    EXPECT_EQ(DataDirectoryBeside(prefix / "bin/program"), prefix / "share/quarn");
    EXPECT_EQ(DataDirectoryBeside(prefix / "lib/libcomponent.so"), prefix / "share/quarn");
    EXPECT_EQ(DataDirectoryBeside(prefix / "lib/x86_64-linux-gnu/libcomponent.so"),
              prefix / "share/quarn");

    // A program far from any installation is told where the data was looked for.
    const std::string error =
        NotFoundError([&] { DataDirectoryBeside(root / "elsewhere/build/program"); });
    EXPECT_NE(error.find((root / "elsewhere/share/quarn").string()), std::string::npos) << error;
    EXPECT_NE(error.find((root / "share/quarn").string()), std::string::npos) << error;
    EXPECT_NE(error.find("QUARN_DATA_DIR"), std::string::npos) << error;

    // A share/quarn without catalogs is not the data folder.
    fs::create_directories(root / "empty/share/quarn");
    NotFoundError([&] { DataDirectoryBeside(root / "empty/bin/program"); });
}

// The build folder serving its programs, and an override that is a data folder, the golden
// cases of the command-line tool and the catalog loader's tests use.
TEST_F(DataPathsTest, AnOverrideThatIsNoDataFolderIsNamedInTheError) {
    setenv("QUARN_DATA_DIR", (root / "missing").c_str(), 1);
    const std::string error = NotFoundError([] { DataDirectory(); });
    EXPECT_NE(error.find((root / "missing").string()), std::string::npos) << error;
}

}  // namespace
}  // namespace quarn::suite
