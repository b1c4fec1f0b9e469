// The shared settings-store suite on the in-memory test double and on the file-backed
// POSIX store (its config folder a fresh TempDir for every test).
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "platform/posix/PXPosixSettingsManager.h"
#include "tests/settings/SettingsStoreSuite.h"
#include "tests/support/FakeSettingsManager.h"
#include "tests/support/TempDir.h"

namespace {

std::unique_ptr<TempDir> g_configDir;

void FreshConfigFolder()
{
    g_configDir = std::make_unique<TempDir>();
    setenv("XDG_CONFIG_HOME", g_configDir->Path().c_str(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Stores, SettingsStoreTest,
    ::testing::Values(
        SettingsStoreMaker{"Fake", [] { return std::unique_ptr<PXSettingsManager>(std::make_unique<FakeSettingsManager>("")); },
                           false, nullptr},
        SettingsStoreMaker{"Posix",
                           [] {
                               return std::unique_ptr<PXSettingsManager>(
                                   std::make_unique<PXPosixSettingsManager>("Quillmoor", "Shardfall"));
                           },
                           true, FreshConfigFolder}),
    SettingsStoreName);

}  // namespace
