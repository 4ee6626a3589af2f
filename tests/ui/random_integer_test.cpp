#include "ui/random_integer.h"

#include <gtest/gtest.h>

TEST(Generator, StartsFromStateOneWithTheKnownSequence) {
    ui::Generator generator;
    EXPECT_EQ(generator.next(), 41);
    EXPECT_EQ(generator.next(), 18467);
    EXPECT_EQ(generator.next(), 6334);
    EXPECT_EQ(generator.next(), 26500);
}

TEST(RandomInteger, DrawsWithinBoundsSwappingAndFlooringThem) {
    ui::Generator a, b, c;
    EXPECT_EQ(ui::randomInteger(a, 3424, 9864), 3465);
    EXPECT_EQ(ui::randomInteger(b, 9864, 3424), 3465);  // bounds swapped
    EXPECT_EQ(ui::randomInteger(c, -5, 10), 41 % 11);   // a negative bound counts as 0
    ui::Generator d;
    for (int i = 0; i < 1000; ++i) {
        int n = ui::randomInteger(d, 5, 7);
        ASSERT_GE(n, 5);
        ASSERT_LE(n, 7);
    }
    ui::Generator e;
    EXPECT_EQ(ui::randomInteger(e, 4, 4), 4);
}
