// Checks that a call raises the conversions' one error, with its number.
#pragma once

#include <gtest/gtest.h>

#include "conversions/conversions.h"

template <typename Call>
void ExpectOverflow(Call&& call) {
    try {
        call();
        ADD_FAILURE() << "no ArithmeticOverflow was raised";
    } catch (const conversions::ArithmeticOverflow& error) {
        EXPECT_EQ(error.number(), 6);
        EXPECT_STREQ(error.what(), "Overflow");
    }
}
