#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "foundation/ComError.h"
#include "foundation/RaisedError.h"
#include "host/ComponentRegistry.h"
#include "host/HostErrors.h"
#include "host/ILog.h"
#include "host/IShareProps.h"

namespace quarn {
namespace {

// A property store that answers every read with its own mark, to tell the factories apart.
class MarkedProps : public IShareProps {
public:
    explicit MarkedProps(int32_t mark) : mark_(mark) {}
    Variant GetProperty(int32_t, const std::string&) override { return mark_; }
    void SetProperty(int32_t, const std::string&, Variant) override {}

private:
    int32_t mark_;
};

ComponentRegistry::Factory PropsFactory(int32_t mark, int* created = nullptr) {
    return [mark, created] {
        if (created) {
            ++*created;
        }
        return std::make_shared<MarkedProps>(mark);
    };
}

int32_t MarkOf(const ComponentRegistry& registry, std::string_view progId) {
    return registry.Create<IShareProps>(progId)->GetProperty(0, "").ToInt32();
}

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

TEST(ComponentRegistry, CreatesANewObjectPerCallByProgIdWithoutRegardToCase) {
    ComponentRegistry registry;
    int created = 0;
    registry.Register("PropsMgr.ShareProps", PropsFactory(1, &created));
    EXPECT_TRUE(registry.IsRegistered("PROPSMGR.SHAREPROPS"));
    EXPECT_FALSE(registry.IsRegistered("PropsMgr.SharePropsX"));

    const auto first = registry.Create<IShareProps>("propsmgr.shareprops");
    const auto second = registry.Create<IShareProps>("PropsMgr.ShareProps");
    EXPECT_NE(first, second);
    EXPECT_EQ(created, 2);
    EXPECT_EQ(MarkOf(registry, "PROPSMGR.shareprops"), 1);
    EXPECT_EQ(registry.ProgIds(), std::vector<std::string>{"PropsMgr.ShareProps"});
}

TEST(ComponentRegistry, ARegistrationReplacesTheEarlierOneAndUnregisterRemovesIt) {
    ComponentRegistry registry;
    registry.Register("PropsMgr.ShareProps", PropsFactory(1));
    registry.Register("LKLogMsg.Log", PropsFactory(9));
    registry.Register("PROPSMGR.ShareProps", PropsFactory(2));
    EXPECT_EQ(MarkOf(registry, "PropsMgr.ShareProps"), 2);
    EXPECT_EQ(registry.ProgIds().size(), 2u);

    EXPECT_TRUE(registry.Unregister("propsmgr.shareprops"));
    EXPECT_FALSE(registry.Unregister("PropsMgr.ShareProps"));
    EXPECT_FALSE(registry.IsRegistered("PropsMgr.ShareProps"));
    EXPECT_EQ(RaisedError([&] { registry.CreateObject("PropsMgr.ShareProps"); }),
              ErrorNumber(HostError::ComponentNotRegistered));
    EXPECT_EQ(MarkOf(registry, "LKLogMsg.Log"), 9);  // the other registration is untouched
}

TEST(ComponentRegistry, AComponentLackingTheInterfaceRaisesInterfaceNotSupported) {
    ComponentRegistry registry;
    registry.Register("LKLogMsg.Log", PropsFactory(1));
    EXPECT_NE(registry.CreateObject("LKLogMsg.Log"), nullptr);
    try {
        registry.Create<ILog>("LKLogMsg.Log");
        FAIL() << "expected an error";
    } catch (const ComError& error) {
        EXPECT_EQ(error.Number(), ErrorNumber(HostError::InterfaceNotSupported));
        EXPECT_NE(error.Description().find("LKLogMsg.Log"), std::string::npos);
    }
}

TEST(ComponentRegistry, AFactorysOwnErrorPassesThroughUnchanged) {
    ComponentRegistry registry;
    registry.Register("PropsMgr.ShareProps", []() -> std::shared_ptr<Component> {
        throw ComError(ObjectError(777), "PropsMgr", "The property store is not running.");
    });
    try {
        registry.Create<IShareProps>("PropsMgr.ShareProps");
        FAIL() << "expected an error";
    } catch (const ComError& error) {
        EXPECT_EQ(error.Number(), ObjectError(777));
        EXPECT_EQ(error.Source(), "PropsMgr");
        EXPECT_EQ(error.Description(), "The property store is not running.");
    }
}

}  // namespace
}  // namespace quarn
