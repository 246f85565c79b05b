// Statistics sites say when they were made. The tests that compare two sites made seconds apart
// (a published one with a fresh export, the window's with qla's) fix that stamp for the whole
// program, qla's child processes included, as a reproducible build does with SOURCE_DATE_EPOCH.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

namespace qla::test {

inline constexpr const char* kFixedSiteStamp = "1700000000"; // 2023-11-14T22:13:20Z

class FixedSiteStamp : public testing::Environment {
  public:
    void SetUp() override { ::setenv("SOURCE_DATE_EPOCH", kFixedSiteStamp, 1); }
};

// Registered once per test program that includes this header.
inline testing::Environment* const kFixedSiteStampEnvironment =
    testing::AddGlobalTestEnvironment(new FixedSiteStamp);

} // namespace qla::test
