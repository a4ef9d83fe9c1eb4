#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "quarn/host/ComponentRegistry.h"
#include "quarn/host/IChmHelp.h"
#include "quarn/host/IDatasInfo.h"
#include "quarn/host/IFrmResLoader.h"
#include "quarn/host/ILog.h"
#include "quarn/host/IMessageBox.h"
#include "quarn/host/IMessageFormatter.h"
#include "quarn/host/IResLoader.h"

namespace quarn::subsysmgr {

/// The component's module state: what the runtime services create on first use and keep while
/// the component is loaded. Business objects capture the current state when they are created;
/// tests install a fresh state (with a registry of fakes) to start from nothing.
struct ModuleState {
    explicit ModuleState(
        std::shared_ptr<ComponentRegistry> registry = ComponentRegistry::Process());

    /// Where suite components come from.
    std::shared_ptr<ComponentRegistry> registry;
    /// The process id under which the host publishes its shared properties.
    int32_t processId;

    /// The upper-cased session language once read; empty until a non-empty one was found.
    std::string languageCache;
    /// The one shared data-flow information instance.
    std::shared_ptr<IDatasInfo> dataFlowInfo;
    std::shared_ptr<IResLoader> resLoader;
    std::shared_ptr<IFrmResLoader> frmResLoader;
    std::shared_ptr<IChmHelp> help;
    std::shared_ptr<IMessageFormatter> formatter;

    /// The diagnostic log object; dropped for good once it reports logging disabled.
    std::shared_ptr<ILog> log;
    /// Set after the first attempt to create the log object, whatever its outcome.
    bool logInitialised = false;
    /// Set once the log was told that the session's update component cannot compare row
    /// versions, so that it is told once and not at every save.
    bool unguardedDeletionsNoted = false;

    /// The platform's message box; a console box that writes to stderr until the user interface
    /// installs its own.
    std::shared_ptr<IMessageBox> messageBox;

    /// The state of the loaded component (created on first use over the process registry).
    static std::shared_ptr<ModuleState> Current();
    /// Replaces the state of the loaded component; objects created later use the new one.
    static void Install(std::shared_ptr<ModuleState> state);
};

}  // namespace quarn::subsysmgr
