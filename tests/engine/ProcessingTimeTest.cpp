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
    } cases[] = {
        {0, 7, "0:07"}, {0, 125, "2:05"}, {0, 4530, "75:30"}, {0, 59.5, "1:00"}, {0, 0.5, "0:00"},
        {0, 1.5, "0:02"}, {0, 2.5, "0:02"}, {10, 69.4, "0:59"},
        {86390, 15, "0:25"}, // 23:59:50 to 00:00:15
        {86398, 3, "0:05"}, {50, 49, "1439:59"}, // a run of almost a day
    };
    for (const auto &c : cases)
        EXPECT_EQ(processingTimeText(c.start, c.end).toStdString(), c.text)
            << "from " << c.start << " to " << c.end;
}

} // namespace
