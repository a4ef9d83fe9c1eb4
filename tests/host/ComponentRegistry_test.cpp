#include "host/ComponentRegistry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/ComError.h"
#include "foundation/RaisedError.h"
#include "host/HostErrors.h"
#include "host/ILog.h"
#include "host/IShareProps.h"

namespace quarn {
namespace {

// A property store that answers every read with its mark, which tells the factories apart.
class MarkedProps : public IShareProps {
  public:
    explicit MarkedProps(int32_t mark) : mark_(mark) {}
    Variant GetProperty(int32_t, const std::string&) override { return mark_; }
    void SetProperty(int32_t, const std::string&, Variant) override {}

  private:
    int32_t mark_;
};

ComponentRegistry::Factory PropsFactory(int32_t mark) {
    return [mark] { return std::make_shared<MarkedProps>(mark); };
}

int32_t MarkOf(const ComponentRegistry& registry, std::string_view progId) {
    return registry.Create<IShareProps>(progId)->GetProperty(0, "").ToInt32();
}

TEST(ComponentRegistry, CreatesByProgIdWithoutRegardToCaseUntilUnregistered) {
    ComponentRegistry registry;
    try {
        registry.Create<IShareProps>("PropsMgr.ShareProps");
        ADD_FAILURE() << "created without a registration";
    } catch (const ComError& error) {
        EXPECT_EQ(error.Number(), ErrorNumber(HostError::ComponentNotRegistered));
        EXPECT_NE(error.Description().find("PropsMgr.ShareProps"), std::string::npos);
    }
    registry.Register("PropsMgr.ShareProps", PropsFactory(1));
    registry.Register("LKLogMsg.Log", PropsFactory(9));
    EXPECT_TRUE(registry.IsRegistered("PROPSMGR.SHAREPROPS"));
    EXPECT_EQ(MarkOf(registry, "propsmgr.shareprops"), 1);
    EXPECT_NE(registry.Create<IShareProps>("PropsMgr.ShareProps"),
              registry.Create<IShareProps>("PropsMgr.ShareProps"));  // a new object per call

    // A second registration under another spelling replaces the first.
    registry.Register("PROPSMGR.ShareProps", PropsFactory(2));
    EXPECT_EQ(MarkOf(registry, "PropsMgr.ShareProps"), 2);
    EXPECT_EQ(registry.ProgIds().size(), 2u);

    EXPECT_TRUE(registry.Unregister("propsmgr.shareprops"));
    EXPECT_FALSE(registry.Unregister("PropsMgr.ShareProps"));
    EXPECT_EQ(RaisedError([&] { registry.CreateObject("PropsMgr.ShareProps"); }),
              ErrorNumber(HostError::ComponentNotRegistered));
    EXPECT_EQ(MarkOf(registry, "LKLogMsg.Log"), 9);  // the other registration is untouched
}

TEST(ComponentRegistry, AWrongInterfaceIsRefusedAndAFactorysOwnErrorPassesThrough) {
    ComponentRegistry registry;
    registry.Register("LKLogMsg.Log", PropsFactory(1));
    EXPECT_NE(registry.CreateObject("LKLogMsg.Log"), nullptr);
    EXPECT_EQ(RaisedError([&] { registry.Create<ILog>("LKLogMsg.Log"); }),
              ErrorNumber(HostError::InterfaceNotSupported));

    registry.Register("PropsMgr.ShareProps", []() -> std::shared_ptr<Component> {
        throw ComError(ObjectError(777), "PropsMgr", "The property store is not running.");
    });
    try {
        registry.Create<IShareProps>("PropsMgr.ShareProps");
        ADD_FAILURE() << "the factory's error was lost";
    } catch (const ComError& error) {
        EXPECT_EQ(error.Number(), ObjectError(777));
        EXPECT_EQ(error.Source(), "PropsMgr");
        EXPECT_EQ(error.Description(), "The property store is not running.");
    }
}

}  // namespace
}  // namespace quarn
