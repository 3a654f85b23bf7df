// Helpers shared by the test programs.
#ifndef CQV_TESTS_SUPPORT_CQV_TEST_H
#define CQV_TESTS_SUPPORT_CQV_TEST_H

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>

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

#endif  // CQV_TESTS_SUPPORT_CQV_TEST_H
