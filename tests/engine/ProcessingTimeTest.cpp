#include "engine/ProcessingTime.h"

#include <gtest/gtest.h>

using namespace twinscan;

namespace {

struct TimeCase
{
    double start;
    double end;
    const char *text;
};

TEST(ProcessingTime, WholeSecondsHalvesToEvenAcrossMidnight)
{
    const TimeCase cases[] = {
        {0, 0, "0:00"},
        {0, 7, "0:07"},
        {0, 125, "2:05"},
        {0, 4530, "75:30"},
        {0, 59.5, "1:00"},
        {0, 0.5, "0:00"},
        {0, 1.5, "0:02"},
        {0, 2.5, "0:02"},
        {10, 69.4, "0:59"},
        {10, 69.6, "1:00"},
        {86390, 15, "0:25"}, // 23:59:50 to 00:00:15
        {86399.5, 0, "0:00"},
        {50, 49, "1439:59"}, // a run of almost a day
        {43200, 43200 + 36000, "600:00"},
    };
    for (const TimeCase &c : cases)
        EXPECT_EQ(processingTimeText(c.start, c.end).toStdString(), c.text)
            << "from " << c.start << " to " << c.end;
}

TEST(ProcessingTime, RoundHalfEven)
{
    const std::pair<double, long long> cases[]
        = {{0.5, 0}, {1.5, 2}, {2.5, 2}, {3.5, 4}, {0.49, 0}, {0.51, 1}, {59.5, 60}, {60.5, 60}};
    for (const auto &[value, rounded] : cases)
        EXPECT_EQ(roundHalfEven(value), rounded) << value;
}

} // namespace
