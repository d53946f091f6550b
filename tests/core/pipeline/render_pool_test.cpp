#include <sched.h>

#include <gtest/gtest.h>

#include "pipeline/render_pool.h"

namespace vellumar {
namespace {

// Under taskset, or in a container given some of the machine's cores, one worker per core
// of the machine would only make the workers take turns.
TEST(RenderPoolTest, TheDefaultIsOneWorkerPerCoreThisProcessMayRunOn) {
    cpu_set_t allowed;
    ASSERT_EQ(::sched_getaffinity(0, sizeof(allowed), &allowed), 0);
    EXPECT_EQ(defaultWorkerCount(), CPU_COUNT(&allowed));

    int first = 0;
    while (!CPU_ISSET(first, &allowed)) {
        ++first;
    }
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(first, &one);
    ASSERT_EQ(::sched_setaffinity(0, sizeof(one), &one), 0);
    EXPECT_EQ(defaultWorkerCount(), 1);
    ASSERT_EQ(::sched_setaffinity(0, sizeof(allowed), &allowed), 0);
}

} // namespace
} // namespace vellumar
