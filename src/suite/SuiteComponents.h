#pragma once

#include "host/ComponentRegistry.h"

namespace quarn::suite {

/// Registers our implementation of every suite component with the registry, under its
/// programmatic identifier.
void RegisterSuiteComponents(ComponentRegistry& registry);

}  // namespace quarn::suite
