#include "plugin/identity.h"

#include <gtest/gtest.h>

namespace lintrel {
namespace {

// The texts are assembled from the build's project version; these are the
// bytes that the host has always been given for version 1.0.292.
TEST(IdentityTest, TextsAreTheShippedBytes) {
  EXPECT_EQ(kVersion, "1.0.292");
  EXPECT_EQ(kVersionBanner, "Korvale: Lintrel ver.1.0.292");
  EXPECT_EQ(kInformation,
            "K.O.R.: Lintrel ver. 1.0.292 by the Lintrel project\r\n"
            "Build date: 292\r\n"
            "Contact: the Lintrel project's issue tracker");
}

}  // namespace
}  // namespace lintrel
