// Comparison of many numbers at once within an absolute tolerance, shared
// by the value type and linear algebra tests.
#ifndef CQV_TESTS_SUPPORT_CQV_NEAR_H
#define CQV_TESTS_SUPPORT_CQV_NEAR_H

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <vector>

namespace cqvtest {

// got and want agree within tol, element by element.
inline ::testing::AssertionResult Near(const std::vector<double>& got, const std::vector<double>& want, double tol) {
    if (got.size() != want.size()) return ::testing::AssertionFailure() << "sizes differ";
    for (std::size_t i = 0; i < got.size(); ++i)
        if (!(std::fabs(got[i] - want[i]) <= tol))
            return ::testing::AssertionFailure() << "at " << i << ": " << got[i] << " against " << want[i];
    return ::testing::AssertionSuccess();
}

}  // namespace cqvtest

#endif  // CQV_TESTS_SUPPORT_CQV_NEAR_H
