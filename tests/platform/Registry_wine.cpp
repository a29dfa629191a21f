// The registry behaviour the simulated registry copies, checked on the real one.
#include "platform/RegistryBehaviour.h"
#include "platform/win32/Win32.h"

namespace {

// A failed run may leave the scratch key behind.
class RegistryBehaviourWine : public ::testing::Test {
protected:
    void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, registry_behaviour::kScratch); }
};

TEST_F(RegistryBehaviourWine, ValuesKeepTheirTypesAndSizes) { registry_behaviour::ValuesKeepTheirTypesAndSizes(); }

TEST_F(RegistryBehaviourWine, MissingAndDeletedValuesAreNotFound) {
    registry_behaviour::MissingAndDeletedValuesAreNotFound();
}

TEST_F(RegistryBehaviourWine, OnlyKeysWithoutSubKeysAreDeleted) {
    registry_behaviour::OnlyKeysWithoutSubKeysAreDeleted();
}

TEST_F(RegistryBehaviourWine, KeySecurityIsReadAndReplaced) { registry_behaviour::KeySecurityIsReadAndReplaced(); }

}  // namespace
