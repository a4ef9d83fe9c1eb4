#include "suite/SuiteComponents.h"

#include "host/ProgIds.h"
#include "suite/catalog/MessageFormatter.h"
#include "suite/catalog/ResLoader.h"
#include "suite/fonts/FrmResLoader.h"
#include "suite/log/DiagnosticLogComponent.h"
#include "suite/props/ShareProps.h"
#include "suite/store/DatasInfo.h"
#include "suite/store/DatasUpdate.h"
#include "suite/store/FreeQueries.h"

namespace quarn::suite {

namespace {

template <class T>
void RegisterType(ComponentRegistry& registry, std::string_view progId) {
    registry.Register(progId, [] { return std::make_shared<T>(); });
}

}  // namespace

void RegisterSuiteComponents(ComponentRegistry& registry) {
    RegisterType<ShareProps>(registry, progid::kShareProps);
    RegisterType<DiagnosticLogComponent>(registry, progid::kLog);
    RegisterType<FrmResLoader>(registry, progid::kFrmResLoader);
    RegisterType<ResLoader>(registry, progid::kResLoader);
    RegisterType<MessageFormatter>(registry, progid::kMessageFormatter);
    RegisterType<DatasInfo>(registry, progid::kDatasInfo);
    RegisterType<DatasUpdate>(registry, progid::kDatasUpdate);
    RegisterType<ClassInfo>(registry, progid::kClassInfo);
    RegisterType<ClassDefineInfo>(registry, progid::kClassDefineInfo);
    RegisterType<RptAction>(registry, progid::kRptAction);
}

}  // namespace quarn::suite
