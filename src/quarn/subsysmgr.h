#pragma once

// The public interface of QuarnClassSubSysMgr in one header: the business objects and their
// errors, the module state and session context they run in, the suite's shared types and host
// interfaces with the component registry, the registration of our suite components, and the
// editors' entry classes. Link QuarnClassSubSysMgr::core (and ::suite for our suite components,
// ::ui for the editors).

#include "foundation/ComError.h"
#include "foundation/Dictionary.h"
#include "foundation/FoundationErrors.h"
#include "foundation/Recordset.h"
#include "foundation/Variant.h"
#include "foundation/Vector.h"
#include "host/Component.h"
#include "host/ComponentRegistry.h"
#include "host/HostErrors.h"
#include "host/IChmHelp.h"
#include "host/IClassDefineInfo.h"
#include "host/IClassInfo.h"
#include "host/IDatasInfo.h"
#include "host/IDatasUpdate.h"
#include "host/IFrmResLoader.h"
#include "host/ILog.h"
#include "host/IMessageBox.h"
#include "host/IMessageFormatter.h"
#include "host/IResLoader.h"
#include "host/IRptAction.h"
#include "host/IShareProps.h"
#include "host/ProgIds.h"
#include "model/IdRanges.h"
#include "model/ModelErrors.h"
#include "model/OptType.h"
#include "model/SubSysGroup.h"
#include "model/SubSystem.h"
#include "model/SubSystemCollection.h"
#include "runtime/ModuleState.h"
#include "runtime/SessionContext.h"
#include "suite/HostSession.h"
#include "suite/SuiteComponents.h"
#include "suite/store/StoreErrors.h"
#include "ui/SubSysGroupMgrUI.h"
#include "ui/SubSystemMgrUI.h"
