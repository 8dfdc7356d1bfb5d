#include "storage/StorageTestSupport.h"

namespace {
// Runs before main: the storage layer logs on every step, which would bury gtest's report.
const bool quietAtStart = (tonara::test::LogCapture::quiet(), true);
} // namespace
