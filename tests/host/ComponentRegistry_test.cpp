#include <gtest/gtest.h>

#include "foundation/ComError.h"
#include "host/ComponentRegistry.h"
#include "host/HostErrors.h"
#include "host/IShareProps.h"

namespace quarn {
namespace {

TEST(ComponentRegistry, CreatingAnUnregisteredComponentRaisesComponentNotRegistered) {
    ComponentRegistry registry;
    try {
        registry.Create<IShareProps>("PropsMgr.ShareProps");
        FAIL() << "expected an error";
    } catch (const ComError& error) {
        EXPECT_EQ(error.Number(), ErrorNumber(HostError::ComponentNotRegistered));
        EXPECT_NE(error.Description().find("PropsMgr.ShareProps"), std::string::npos);
    }
}

}  // namespace
}  // namespace quarn
