#include "engine/ProcessingTime.h"

#include <gtest/gtest.h>

using namespace twinscan;

namespace {

TEST(ProcessingTime, WholeSecondsHalvesToEvenAcrossMidnight)
{
    const struct
    {
        double start;
        double end;
        const char *text;
    } cases[] = {{0, 125, "2:05"}, {0, 4530, "75:30"}, {0, 59.5, "1:00"}, {0, 2.5, "0:02"},
        {0, 3.5, "0:04"}, {86390, 15, "0:25"}, {50, 49, "1439:59"}}; // the last two past midnight
    for (const auto &c : cases)
        EXPECT_EQ(processingTimeText(c.start, c.end).toStdString(), c.text)
            << "from " << c.start << " to " << c.end;
}

} // namespace
