// Helpers shared by the test programs.
#ifndef CQV_TESTS_SUPPORT_CQV_TEST_H
#define CQV_TESTS_SUPPORT_CQV_TEST_H

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include <cqv/cqv.h>

#include "cqv_builders.h"

namespace cqvtest {

// The two header words of a counted block.
inline std::int32_t BlockCount(const void* p) { return static_cast<const std::int32_t*>(p)[-2]; }
inline std::int32_t BlockSizeWord(const void* p) { return static_cast<const std::int32_t*>(p)[-1]; }

// The message a BadParameters built from text reports.
inline std::string Bad(const char* text) { return std::string("Invalid parameters : ") + text; }

}  // namespace cqvtest

// Readable failure messages for the value types.
inline void PrintTo(const qvComplex& c, std::ostream* os) { *os << '(' << c.re << ", " << c.im << ')'; }
inline void PrintTo(const qvVec2& v, std::ostream* os) { *os << '(' << v.X() << ", " << v.Y() << ')'; }
inline void PrintTo(const qvTVec3<double>& v, std::ostream* os) {
    *os << '(' << v.X() << ", " << v.Y() << ", " << v.Z() << ')';
}

// Expects stmt to throw exactly the exception type E with the message text.
#define CQV_EXPECT_THROW_TEXT(stmt, E, text)                                    \
    do {                                                                        \
        bool cqv_caught_ = false;                                               \
        try {                                                                   \
            stmt;                                                               \
        } catch (const E& cqv_e_) {                                             \
            cqv_caught_ = true;                                                 \
            EXPECT_EQ(std::string(cqv_e_.GetMessageText()), std::string(text)); \
        }                                                                       \
        EXPECT_TRUE(cqv_caught_) << #stmt " did not throw " #E;                 \
    } while (0)

// Expects stmt to throw BadParameters built from the given check text.
#define CQV_EXPECT_BAD(stmt, text) CQV_EXPECT_THROW_TEXT(stmt, BadParameters, cqvtest::Bad(text))

namespace cqvtest {

// obj holds block, which one other holder keeps; op(obj) must throw text
// after obj let go of it: obj holds nothing and the other holder is left
// the block's only one.
template <class Obj, class Op>
void ExpectReleasedBeforeThrow(Obj& obj, const void* block, Op op, const char* text) {
    ASSERT_EQ(BlockCount(block), 2);
    CQV_EXPECT_BAD(op(obj), text);
    EXPECT_EQ(Ptrs(obj.GetMem(), obj.GetPointer()), Ptrs(nullptr, nullptr));
    EXPECT_EQ(BlockCount(block), 1);
}

// SetMem (made public by H) of a block nothing counts (one word of element
// count, then two doubles): h lets go of the block it held, held, which one
// other holder keeps, and stores the new one before the count refuses it.
// Letting go of it frees it by the release rule (the sanitizer build would
// report a leak otherwise, and a double free if anything else did).
template <class H>
void ExpectSetMemOfAnUncountedBlockReleasesFirst(H& h, const void* held) {
    ASSERT_EQ(BlockCount(held), 2);
    auto* raw = static_cast<std::int32_t*>(qvMalloc(4 + 2 * sizeof(double)));
    raw[0] = 2;
    void* const uncounted = raw + 1;
    CQV_EXPECT_BAD(h.SetMem(uncounted), "qvIncMemRef : memory must be allocated with qvNewWithRef.");
    EXPECT_EQ(Ptrs(h.GetMem()), Ptrs(uncounted));
    EXPECT_EQ(std::vector<int>({BlockCount(held), raw[0]}), std::vector<int>({1, 2}));
    h.SetMem(nullptr);
    EXPECT_EQ(h.GetMem(), nullptr);
}

}  // namespace cqvtest

#endif  // CQV_TESTS_SUPPORT_CQV_TEST_H
