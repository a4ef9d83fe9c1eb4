#include "suite/SuiteComponents.h"

#include "host/ProgIds.h"
#include "suite/SuiteSession.h"
#include "suite/catalog/MessageFormatter.h"
#include "suite/catalog/ResLoader.h"
#include "suite/fonts/FrmResLoader.h"
#include "suite/log/DiagnosticLogComponent.h"
#include "suite/props/ShareProps.h"
#include "suite/store/ChangeHistory.h"
#include "suite/store/DatasInfo.h"
#include "suite/store/DatasUpdate.h"
#include "suite/store/FreeQueries.h"
#include "suite/store/ReleaseStore.h"
#include "suite/store/TreeRows.h"
#include "suite/store/TreeSearch.h"

namespace quarn::suite {

namespace {

template <class T>
void RegisterType(ComponentRegistry& registry, std::string_view progId) {
    registry.Register(progId, [] { return std::make_shared<T>(); });
}

template <class T, class Argument>
void RegisterBound(ComponentRegistry& registry, std::string_view progId, Argument argument) {
    registry.Register(progId, [argument] { return std::make_shared<T>(argument); });
}

}  // namespace

void RegisterSuiteComponents(ComponentRegistry& registry, std::shared_ptr<SuiteSession> session) {
    RegisterBound<ShareProps>(registry, progid::kShareProps, session->Properties());
    registry.Register(progid::kLog,
                      [session] { return std::make_shared<DiagnosticLogComponent>(*session); });
    RegisterType<FrmResLoader>(registry, progid::kFrmResLoader);
    RegisterBound<ResLoader>(registry, progid::kResLoader, session->Catalogs());
    RegisterType<MessageFormatter>(registry, progid::kMessageFormatter);
    // The group listing's free query is answered from the snapshot of the session's shared
    // data-flow information, the last one made.
    auto warm = std::make_shared<WarmDatasInfo>();
    registry.Register(progid::kDatasInfo, [session, warm] {
        auto info = std::make_shared<DatasInfo>(session);
        warm->Set(info);
        return info;
    });
    RegisterBound<DatasUpdate>(registry, progid::kDatasUpdate, session);
    RegisterBound<ChangeHistory>(registry, progid::kChangeHistory, session);
    RegisterBound<TreeSearch>(registry, progid::kTreeSearch, session);
    RegisterBound<ReleaseStore>(registry, progid::kReleaseStore, session);
    RegisterBound<TreeRows>(registry, progid::kTreeRows, session);
    registry.Register(progid::kClassInfo,
                      [session, warm] { return std::make_shared<ClassInfo>(session, warm); });
    RegisterBound<ClassDefineInfo>(registry, progid::kClassDefineInfo, session);
    RegisterBound<RptAction>(registry, progid::kRptAction, session);
}

}  // namespace quarn::suite
