// Lists the groups of a new demo database through the installed package.
// Usage: quarn_consumer <new SQLite file>

#include <quarn/subsysmgr.h>

#include <iostream>

#include "suite/store/Database.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: quarn_consumer <new SQLite file>\n";
        return 2;
    }
    using namespace quarn;
    using namespace quarn::subsysmgr;
    try {
        const suite::StoreLocation location{suite::StoreLocation::Kind::SQLite, argv[1]};
        suite::Database::Open(location, {.createIfMissing = true, .loadDemoData = true});

        auto registry = std::make_shared<ComponentRegistry>();
        suite::RegisterSuiteComponents(*registry);
        auto module = std::make_shared<ModuleState>(registry);
        ModuleState::Install(module);
        registry->Create<IShareProps>(progid::kShareProps)
            ->SetProperty(module->processId, std::string(kPropsStringProperty),
                          "Database=sqlite:" + location.target + ";Language=EN;");

        SubSysGroup group;
        const VectorPtr groups = group.GetAllSubSysGroup();
        for (const Variant& entry : groups->Items()) {
            const DictionaryPtr row = entry.AsDictionary();
            std::cout << row->Item("ID").ToText() << ' '
                      << row->Item("FTopClassName_EN").TextOrEmpty() << '\n';
        }
        return groups->Count() > 0 ? 0 : 1;
    } catch (const ComError& error) {
        std::cerr << "error " << error.Offset() << ": " << error.Description() << '\n';
        return 1;
    }
}
