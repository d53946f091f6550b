#include <gtest/gtest.h>

#include "reader_fixtures.h"

namespace vellumar::testing {
namespace {

TEST_P(ReferencePicture, DecodesToItsReference) {
    expectDecodesToReference(GetParam());
}

} // namespace
} // namespace vellumar::testing
