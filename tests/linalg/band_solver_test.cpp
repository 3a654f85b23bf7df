// The Gauss solver on space-vector systems whose non-zero entries lie in a
// narrow band, which it eliminates on
// the band alone: work space, right-hand side and solution must come out
// exactly as the documented elimination over the whole matrix leaves them,
// every bit, signed zeros included (a NaN need only be a NaN: which
// operand's payload an operation passes on is the compiler's choice).
#include "linalg_test_support.h"

#include <limits>
#include <utility>
#include <vector>

using namespace linalgtest;

namespace {

using Space = std::vector<V3>;

// ---- banded systems --------------------------------------------------------------

enum Kind {
    Positive,  // every coordinate in (0, 1]: no row operation touches the zeros
    Mixed,     // signs mixed, some entries exactly zero: row operations that do
    Special,   // also -0.0, subnormal pivots (infinite reciprocals), infinities, NaN
    Equal      // (w, w, w) entries of mixed sign, as the curves have
};

struct Case {
    int n, m;         // rows and columns
    int lower, upper; // band around the diagonal
    Kind values;
};

// Orders of at least 48 and bands of at most 16 columns, which the solver
// eliminates on the band.
const Case kCases[] = {
    {50, 50, 1, 1, Positive}, {50, 50, 1, 1, Mixed},   {60, 60, 2, 3, Mixed}, {50, 50, 1, 1, Special},
    {60, 60, 2, 0, Special},  {48, 62, 1, 2, Mixed},   {64, 64, 3, 1, Positive}, {80, 80, 1, 1, Equal},
};

struct Bits : Numbers {
    using Numbers::Numbers;
    double Value(Kind kind) {
        const auto r = static_cast<unsigned>(Next() >> 33);
        const double x = (r % 1000 + 1) / 1000.0;
        if (kind == Positive) return x;
        if (r % 17 == 0) return 0.0;
        if (kind == Special) {
            switch (r % 23) {
                case 1: return -0.0;
                case 2: return 1e-310;
                case 3: return std::numeric_limits<double>::infinity();
                case 4: return std::numeric_limits<double>::quiet_NaN();
                default: break;
            }
        }
        return r % 3 == 0 ? -x : x;
    }
    V3 Entry(Kind kind) {
        if (kind == Equal) {
            const double w = Value(Mixed);
            return V3(w, w, w);
        }
        const double x = Value(kind), y = Value(kind), z = Value(kind);
        return V3(x, y, z);
    }
};

qvMatrix<V3> BandMatrix(const Case& c, Bits& bits) {
    qvMatrix<V3> a(c.n, c.m);
    for (int i = 0; i < c.n; ++i)
        for (int j = 0; j < c.m; ++j) {
            const bool band = j >= i - c.lower && j <= i + c.upper;
            a(i, j) = band ? bits.Entry(c.values) : V3(0, 0, 0);
        }
    return a;
}

// An upper bidiagonal system of order 48 whose second pivot is NaN in every
// coordinate: the zero below it wins the pivot search and stops the
// elimination, and the NaN row is substituted one position further down.
qvMatrix<V3> NaNPivotMatrix() {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    qvMatrix<V3> a(48, 48);
    for (int i = 0; i < 48; ++i)
        for (int j = 0; j < 48; ++j) a(i, j) = j == i || j == i + 1 ? V3(2 + i, 3, 1 + j) : V3(0, 0, 0);
    a(1, 1) = V3(nan, nan, nan);
    return a;
}

}  // namespace

TEST(BandSolve, AgreesBitForBitWithTheWholeElimination) {
    Bits bits(7);
    std::vector<std::pair<qvMatrix<V3>, qvMatrix<V3>>> systems;
    for (const Case& c : kCases) {
        systems.emplace_back(BandMatrix(c, bits), qvMatrix<V3>(c.n, 1));
        for (int i = 0; i < c.n; ++i) systems.back().second(i, 0) = bits.Entry(c.values == Equal ? Mixed : c.values);
    }
    systems.emplace_back(NaNPivotMatrix(), qvMatrix<V3>(48, 1));
    for (int i = 0; i < 48; ++i) systems.back().second(i, 0) = V3(1, 2, 3);
    for (const auto& system : systems) {
        SCOPED_TRACE(::testing::Message() << "system " << &system - &systems[0]);
        ExpectGaussSolveAsTheReference(system.first, system.second);
    }
}
