#pragma once

#include <QByteArray>
#include <gtest/gtest.h>

namespace twinscan::e2e {

// For EXPECT_PRED_FORMAT2: passes when the bytes are equal; otherwise shows where they first
// differ and the lines around it side by side, expected on the left, with CR, LF and other
// control bytes written out so that a wrong line ending is visible.
testing::AssertionResult sameBytes(const char *expectedExpression, const char *actualExpression,
    const QByteArray &expected, const QByteArray &actual);

} // namespace twinscan::e2e
