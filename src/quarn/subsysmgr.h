#pragma once

// The public interface of QuarnClassSubSysMgr in one header: the business objects and their
// errors, the module state and session context they run in, the suite's shared types and host
// interfaces with the component registry, the host session over our suite components with the
// creation of a database, and the editors' entry classes. Link QuarnClassSubSysMgr::core (and
// ::suite for the host session, ::ui for the editors).
//
// The C entry points of the component library, for hosts that load it at run time, are in
// <quarn/component/ComponentExports.h>.

#include "quarn/foundation/ComError.h"
#include "quarn/foundation/Dictionary.h"
#include "quarn/foundation/FoundationErrors.h"
#include "quarn/foundation/Recordset.h"
#include "quarn/foundation/Variant.h"
#include "quarn/foundation/Vector.h"
#include "quarn/host/Component.h"
#include "quarn/host/ComponentRegistry.h"
#include "quarn/host/HostErrors.h"
#include "quarn/host/IChangeHistory.h"
#include "quarn/host/IChmHelp.h"
#include "quarn/host/IClassDefineInfo.h"
#include "quarn/host/IClassInfo.h"
#include "quarn/host/IDatasInfo.h"
#include "quarn/host/IDatasUpdate.h"
#include "quarn/host/IFrmResLoader.h"
#include "quarn/host/ILog.h"
#include "quarn/host/IMessageBox.h"
#include "quarn/host/IMessageFormatter.h"
#include "quarn/host/IReleaseStore.h"
#include "quarn/host/IResLoader.h"
#include "quarn/host/IRptAction.h"
#include "quarn/host/IShareProps.h"
#include "quarn/host/ITreeRows.h"
#include "quarn/host/ITreeSearch.h"
#include "quarn/host/ProgIds.h"
#include "quarn/host/TreeItemRef.h"
#include "quarn/model/ChangeRevert.h"
#include "quarn/model/IdRanges.h"
#include "quarn/model/ModelErrors.h"
#include "quarn/model/OptType.h"
#include "quarn/model/SubSysGroup.h"
#include "quarn/model/SubSystem.h"
#include "quarn/model/SubSystemCollection.h"
#include "quarn/runtime/LocalizedError.h"
#include "quarn/runtime/ModuleState.h"
#include "quarn/runtime/SessionContext.h"
#include "quarn/suite/CreateDatabase.h"
#include "quarn/suite/DataPaths.h"
#include "quarn/suite/HostSession.h"
#include "quarn/suite/SuiteErrors.h"
#include "quarn/suite/store/StoreErrors.h"
#include "quarn/ui/QtPlatform.h"
#include "quarn/ui/SubSysGroupMgrUI.h"
#include "quarn/ui/SubSystemMgrUI.h"
