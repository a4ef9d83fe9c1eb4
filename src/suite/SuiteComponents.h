#pragma once

#include <memory>

#include "host/ComponentRegistry.h"

namespace quarn::suite {

class SuiteSession;

/// Registers our implementation of every suite component with the registry, under its
/// programmatic identifier; each object the registry creates is bound to `session`.
void RegisterSuiteComponents(ComponentRegistry& registry, std::shared_ptr<SuiteSession> session);

}  // namespace quarn::suite
