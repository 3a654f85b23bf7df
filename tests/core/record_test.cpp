// The checked arithmetic of record sizes and the length check of the
// bounded readers.
#include <climits>
#include <cstdint>
#include <utility>

#include "cqv_test.h"

namespace {

struct SizeCase {
    std::int64_t header, count;
    int elementSize;
    std::int64_t bytes;  // -1: too large for 32 bits
};

// Sizes on both sides of 2^31 - 1 (the array of 2^28 doubles, whose size
// overflows a signed int, lies just past it), a product of two 32-bit counts
// that overflows 64 bits, and the largest count.
const SizeCase kSizes[] = {
    {4, 0, 8, 4},
    {4, 3, 8, 28},
    {8, 6, 24, 152},
    {0, 0, 0, 0},
    {4, (INT_MAX - 4) / 8, 8, 4 + (INT_MAX - 4) / 8 * 8},
    {4, (INT_MAX - 4) / 8 + 1, 8, -1},
    {4, INT_MAX - 4, 1, INT_MAX},
    {4, INT_MAX - 3, 1, -1},
    {INT_MAX, 0, 8, INT_MAX},
    {INT_MAX, 1, 1, -1},
    {std::int64_t{INT_MAX} + 1, 0, 8, -1},
    {8, std::int64_t{INT_MAX} * INT_MAX, 24, -1},
    {4, INT64_MAX, 8, -1},
    {4, INT64_MAX, 0, 4},
};

}  // namespace

TEST(RecordBytes, ChecksEverySizeAgainst32Bits) {
    for (const SizeCase& c : kSizes) {
        SCOPED_TRACE(testing::Message() << c.header << " + " << c.count << " * " << c.elementSize);
        if (c.bytes < 0) {
            CQV_EXPECT_BAD(qvRecordBytes(c.header, c.count, c.elementSize), qvMsg::RecordTooLarge);
        } else {
            EXPECT_EQ(qvRecordBytes(c.header, c.count, c.elementSize), c.bytes);
        }
    }
}

TEST(RecordBytes, NegativeCountIsTheLibrarysNegativeCount) {
    CQV_EXPECT_BAD(qvRecordBytes(4, -1, 8), qvMsg::NewWithRefNonPositive);
    CQV_EXPECT_BAD(qvRecordBytes(4, INT64_MIN, 8), qvMsg::NewWithRefNonPositive);
}

// (record size, bytes available): enough, then one byte short, down to
// nothing and below.
TEST(RecordLength, RefusesARecordLongerThanItsBytes) {
    const std::pair<int, int> enough[] = {{28, 28}, {4, INT_MAX}, {0, 0}};
    const std::pair<int, int> tooFew[] = {{28, 27}, {4, 0}, {0, -1}, {INT_MAX, INT_MAX - 1}};
    for (const auto& c : enough) EXPECT_EQ(qvCheckRecordLength(c.first, c.second), c.first);
    for (const auto& c : tooFew) CQV_EXPECT_BAD(qvCheckRecordLength(c.first, c.second), qvMsg::RecordTruncated);
}
