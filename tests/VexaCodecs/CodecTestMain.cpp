// Registers the environment that initialises the library once per test process.

#include "CodecTestSupport.h"

namespace {
const testing::Environment *const g_environment = testing::AddGlobalTestEnvironment(new codectest::CodecEnvironment);
}
