// Creates a demo database through the installed package, lists its groups, and names the data
// folder the suite library found.
// Usage: quarn_consumer <new SQLite file>

#include <quarn/subsysmgr.h>

#include <filesystem>
#include <iostream>

// This project sets no standard: the package's targets must bring C++20.
static_assert(__cplusplus >= 202002L, "the package's targets do not require C++20");

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: quarn_consumer <new SQLite file>\n";
        return 2;
    }
    using namespace quarn;
    using namespace quarn::subsysmgr;
    try {
        suite::CreateDatabase(argv[1], suite::DatabaseContent::DemoData);
        suite::HostSession session(argv[1], "EN");
        session.Activate();

        SubSysGroup group;
        const VectorPtr groups = group.GetAllSubSysGroup();
        for (const Variant& entry : groups->Items()) {
            const DictionaryPtr row = entry.AsDictionary();
            std::cout << row->Item("ID").ToText() << ' '
                      << row->Item("FTopClassName_EN").TextOrEmpty() << '\n';
        }
        const std::filesystem::path data = suite::DataDirectory();
        std::cout << "data " << data.string() << '\n';
        return groups->Count() > 0 ? 0 : 1;
    } catch (const ComError& error) {
        std::cerr << "error " << error.Offset() << ": " << error.Description() << '\n';
        return 1;
    }
}
