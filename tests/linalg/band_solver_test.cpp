// The Gauss solver on space-vector systems whose non-zero entries lie in a
// narrow band, which it eliminates on
// the band alone: work space, right-hand side and solution must come out
// exactly as the documented elimination over the whole matrix leaves them,
// every bit, signed zeros included (a NaN need only be a NaN: which
// operand's payload an operation passes on is the compiler's choice).
#include "linalg_test_support.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <utility>
#include <vector>

using namespace linalgtest;

namespace {

using Space = std::vector<V3>;

// ---- the reference: the elimination over the whole matrix ----------------------

bool ZeroCoord(double x) { return x == 0.0 || std::isnan(x); }
bool Zero(const V3& x) { return ZeroCoord(x.X()) && ZeroCoord(x.Y()) && ZeroCoord(x.Z()); }
V3 Magnitude(const V3& x) { return V3(std::fabs(x.X()), std::fabs(x.Y()), std::fabs(x.Z())); }
bool Greater(const V3& c, const V3& b) { return !(c.X() <= b.X()) && !(c.Y() <= b.Y()) && !(c.Z() <= b.Z()); }
V3 Recip(const V3& x) { return V3(1.0 / x.X(), 1.0 / x.Y(), 1.0 / x.Z()); }

struct Reference {
    Space a, b;  // row-major copy and right-hand side; rows never move
    std::vector<int> rows;
    int n, m;

    Reference(const qvMatrix<V3>& src, const Space& rhs) : b(rhs), n(src.ColumnLen()), m(src.LineLen()) {
        for (int i = 0; i < n; ++i) {
            rows.push_back(i);
            for (int j = 0; j < m; ++j) a.push_back(src(i, j));
        }
    }
    V3& W(int pos, int j) { return a[static_cast<size_t>(rows[pos]) * m + j]; }
    V3& B(int pos) { return b[static_cast<size_t>(rows[pos])]; }

    // Returns the unknown at whose zero pivot the solver throws, having
    // written x from the last unknown down to it; -1 when it succeeds.
    int Solve(Space& x) {
        for (int k = 0; k < n; ++k) {
            V3 best = Magnitude(W(k, k));
            for (int i = k + 1; i < n; ++i) {
                const V3 cand = Magnitude(W(i, k));
                if (Greater(cand, best)) {
                    std::swap(rows[k], rows[i]);
                    best = cand;
                }
            }
            if (Zero(W(k, k))) break;
            const V3 r = Recip(W(k, k));
            for (int j = k + 1; j < m; ++j) W(k, j) = W(k, j) * r;
            B(k) = B(k) * r;
            for (int i = k + 1; i < n; ++i) {
                const V3 e = W(i, k);
                if (Zero(e)) continue;
                const V3 s = Recip(e);
                for (int j = k + 1; j < m; ++j) W(i, j) = s * W(i, j) - W(k, j);
                B(i) = s * B(i) - B(k);
            }
        }
        const double nan = std::numeric_limits<double>::quiet_NaN();
        x.assign(static_cast<size_t>(n), V3(nan, nan, nan));
        for (int i = n - 1; i >= 0; --i) {
            V3 xi = B(i);
            for (int j = n - 1; j > i; --j) xi = xi - W(i, j) * x[static_cast<size_t>(j)];
            x[static_cast<size_t>(i)] = xi;
            if (Zero(W(i, i))) return i;
        }
        return -1;
    }
};

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

struct Bits {
    unsigned long long seed;
    unsigned Next() {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<unsigned>(seed >> 33);
    }
    double Value(Kind kind) {
        const unsigned r = Next();
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

bool SameBits(const Space& got, const Space& want) {
    if (got.size() != want.size()) return false;
    for (size_t i = 0; i < got.size(); ++i)
        for (int c = 0; c < 3; ++c) {
            const double g = got[i][c], w = want[i][c];
            if (std::memcmp(&g, &w, sizeof g) != 0 && !(std::isnan(g) && std::isnan(w))) return false;
        }
    return true;
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
    Bits bits{7};
    std::vector<std::pair<qvMatrix<V3>, Space>> systems;
    for (const Case& c : kCases) {
        systems.emplace_back(BandMatrix(c, bits), Space());
        for (int i = 0; i < c.n; ++i) systems.back().second.push_back(bits.Entry(c.values == Equal ? Mixed : c.values));
    }
    systems.emplace_back(NaNPivotMatrix(), Space(48, V3(1, 2, 3)));
    for (const auto& system : systems) {
        const qvMatrix<V3>& a = system.first;
        const Space& rhs = system.second;
        const int n = a.ColumnLen(), m = a.LineLen();
        SCOPED_TRACE(::testing::Message() << "system " << &system - &systems[0]);

        Reference ref(a, rhs);
        Space want;
        const int failed = ref.Solve(want);

        // Contiguous rows, and the same matrix stored column by column and
        // seen through its strides.
        std::vector<V3> store(static_cast<size_t>(n) * m);
        qvMatrix<V3> strided;
        strided.SetDirectly(store.data(), n, m, 1, n);
        strided = a;
        qvMatrix<V3> contiguous = a;
        contiguous.Copy();
        for (qvMatrix<V3>* work : {&contiguous, &strided}) {
            qvColumnVector<V3> b(n), x;
            for (int i = 0; i < n; ++i) b[i] = rhs[static_cast<size_t>(i)];
            bool threw = false;
            try {
                work->SolveEquationGaussMethod(x, b);
            } catch (const BadParameters&) {
                threw = true;
                EXPECT_STREQ(qvExceptionWithMessage::message, cqvtest::Bad(qvMsg::SystemNotUnique).c_str());
            }
            EXPECT_EQ(threw, failed >= 0);
            ASSERT_EQ(x.Len(), n);
            // Unknowns a failed substitution never reached are unspecified.
            const int from = failed >= 0 ? failed : 0;
            const Space got = Values(x);
            EXPECT_TRUE(SameBits(Space(got.begin() + from, got.end()), Space(want.begin() + from, want.end())));
            EXPECT_TRUE(SameBits(Elements(*work), ref.a));
            EXPECT_TRUE(SameBits(Values(b), ref.b));
        }
    }
}
