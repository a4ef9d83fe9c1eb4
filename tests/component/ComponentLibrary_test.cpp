// Loads the component library as a host does, with dlopen, and drives it through its four
// entry points only.

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "component/ComponentExports.h"

namespace {

class ComponentLibraryTest : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        library = dlopen(QUARN_COMPONENT_LIBRARY, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library, nullptr) << dlerror();
        Register = Resolve<decltype(&DllRegisterServer)>("DllRegisterServer");
        Unregister = Resolve<decltype(&DllUnregisterServer)>("DllUnregisterServer");
        GetClassObject = Resolve<decltype(&DllGetClassObject)>("DllGetClassObject");
        CanUnloadNow = Resolve<decltype(&DllCanUnloadNow)>("DllCanUnloadNow");
    }
    static void TearDownTestSuite() {
        if (library) {
            dlclose(library);
        }
    }
    void SetUp() override { ASSERT_TRUE(Register && Unregister && GetClassObject && CanUnloadNow); }
    void TearDown() override { Unregister(); }

    template <class Function>
    static Function Resolve(const char* name) {
        return reinterpret_cast<Function>(dlsym(library, name));
    }

    static inline void* library = nullptr;
    static inline decltype(&DllRegisterServer) Register = nullptr;
    static inline decltype(&DllUnregisterServer) Unregister = nullptr;
    static inline decltype(&DllGetClassObject) GetClassObject = nullptr;
    static inline decltype(&DllCanUnloadNow) CanUnloadNow = nullptr;
};

struct ClassIds {
    const char* classId;
    const char* progId;
};
const ClassIds kClasses[] = {
    {QUARN_CLSID_SUBSYSGROUP, QUARN_PROGID_SUBSYSGROUP},
    {QUARN_CLSID_SUBSYSTEM, QUARN_PROGID_SUBSYSTEM},
    {QUARN_CLSID_SUBSYSGROUPMGRUI, QUARN_PROGID_SUBSYSGROUPMGRUI},
    {QUARN_CLSID_SUBSYSTEMMGRUI, QUARN_PROGID_SUBSYSTEMMGRUI},
};

TEST_F(ComponentLibraryTest, ExportsItsEntryPointsButNothingOfWhatItCarries) {
    // quarn::ComponentRegistry::Process() and quarn::ComError's constructor.
    for (const char* inner : {"_ZN5quarn17ComponentRegistry7ProcessEv",
                              "_ZN5quarn8ComErrorC1EiNSt7__cxx1112basic_stringIcSt11char_"
                              "traitsIcESaIcEEES6_"}) {
        EXPECT_EQ(dlsym(library, inner), nullptr) << inner;
    }
}

TEST_F(ComponentLibraryTest, CreatesEachClassWhileItIsRegisteredAndCountsLiveObjects) {
    QuarnClassObject sentinel{};
    QuarnClassObject* object = &sentinel;  // must come back as NULL
    EXPECT_EQ(GetClassObject(QUARN_CLSID_SUBSYSGROUP, &object), QUARN_CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);

    ASSERT_EQ(Register(), QUARN_S_OK);
    EXPECT_EQ(CanUnloadNow(), QUARN_S_OK);
    std::vector<QuarnClassObject*> objects;
    for (const ClassIds& ids : kClasses) {
        SCOPED_TRACE(ids.progId);
        QuarnClassObject* created = nullptr;
        ASSERT_EQ(GetClassObject(ids.classId, &created), QUARN_S_OK);
        ASSERT_NE(created, nullptr);
        EXPECT_NE(created->instance, nullptr);
        EXPECT_STREQ(created->progId, ids.progId);
        objects.push_back(created);
        EXPECT_EQ(CanUnloadNow(), QUARN_S_FALSE);
    }

    // Objects outlive the registration; the library may go only once all are released.
    ASSERT_EQ(Unregister(), QUARN_S_OK);
    EXPECT_EQ(GetClassObject(QUARN_CLSID_SUBSYSTEM, &object), QUARN_CLASS_E_CLASSNOTAVAILABLE);
    for (QuarnClassObject* created : objects) {
        EXPECT_EQ(CanUnloadNow(), QUARN_S_FALSE);
        created->Release(created);
    }
    EXPECT_EQ(CanUnloadNow(), QUARN_S_OK);
}

TEST_F(ComponentLibraryTest, ClassIdentifiersIgnoreCaseAndUnknownOnesAreRefused) {
    ASSERT_EQ(Register(), QUARN_S_OK);
    std::string lower = QUARN_CLSID_SUBSYSTEMMGRUI;
    for (char& c : lower) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    QuarnClassObject* object = nullptr;
    ASSERT_EQ(GetClassObject(lower.c_str(), &object), QUARN_S_OK);
    EXPECT_STREQ(object->progId, QUARN_PROGID_SUBSYSTEMMGRUI);
    object->Release(object);

    EXPECT_EQ(GetClassObject("{00000000-0000-0000-0000-000000000000}", &object),
              QUARN_CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(GetClassObject(QUARN_PROGID_SUBSYSGROUP, &object), QUARN_CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(GetClassObject(nullptr, &object), QUARN_E_POINTER);
    EXPECT_EQ(GetClassObject(QUARN_CLSID_SUBSYSGROUP, nullptr), QUARN_E_POINTER);
    EXPECT_EQ(CanUnloadNow(), QUARN_S_OK);
}

}  // namespace
