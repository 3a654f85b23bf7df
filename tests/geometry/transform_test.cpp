// Coordinate transforms: composition order, inverses against the adjugate,
// the least-squares fit against a direct search, and the records byte for
// byte, cut records refused.
#include "geometry_test_support.h"
#include "record_cuts.h"

using namespace geomtest;

namespace {

using T2 = qvTransformCoord2D;
using T3 = qvTransformCoord3D;

qvMatrix2x2 M2(double a, double b, double c, double d) {
    qvMatrix2x2 m;
    m(0, 0) = a, m(0, 1) = b, m(1, 0) = c, m(1, 1) = d;
    return m;
}

qvTMatrix3x3<double> M3(std::initializer_list<double> xs) {
    qvTMatrix3x3<double> m;
    int k = 0;
    for (double x : xs) m(k / 3, k % 3) = x, ++k;
    return m;
}

using cqvtest::Entries;

// A fixed pseudo-random sequence in [-1, 1).
struct Dice {
    unsigned s = 12345;
    double operator()() {
        s = s * 1103515245u + 12345u;
        return ((s >> 8) % 20000) / 10000.0 - 1;
    }
};

}  // namespace

TEST(Transform2D, EachMoveComesAfterTheTransformSoFar) {
    T2 t;
    EXPECT_EQ(Coords(t.Transform(qvVec2(3, -4))), (Doubles{3, -4}));
    EXPECT_EQ(Entries(t.Inverse().GetMatrix()), (Doubles{1, 0, 0, 1}));
    t.AddShift(qvVec2(1, 0));
    t.AddTurn(kPi / 2);
    EXPECT_TRUE(Near(Coords(t.Transform(qvVec2(0, 0))), {0, 1}, 1e-15));
    EXPECT_TRUE(Near(Coords(t.TransformVec(qvVec2(1, 0))), {0, 1}, 1e-15));  // not shifted

    // Scaling multiplies the shift and the rows of the matrix.
    T2 s;
    s.AddShift(qvVec2(1, 2));
    s.AddMatrix(M2(1, 2, 3, 4));
    s.AddScale(qvVec2(2, -1));
    EXPECT_EQ(Entries(s.GetMatrix()), (Doubles{2, 4, -3, -4}));
    EXPECT_EQ(Coords(s.GetShift()), (Doubles{10, -11}));
    EXPECT_TRUE(Near(Coords(s.GetOldScale(qvVec2(1, 0.5))), {std::sqrt(4 + 2.25), std::sqrt(16 + 4.0)}, 1e-15));

    // Moves about a centre leave the centre in place.
    const qvVec2 q(2, 5);
    T2 about;
    about.AddTurn(0.7, q);
    EXPECT_TRUE(Near(Coords(about.Transform(q)), Coords(q), 1e-14));
    EXPECT_TRUE(Near(Coords(about.Transform(q + qvVec2(1, 0))), Coords(q + qvVec2(std::cos(0.7), std::sin(0.7))), 1e-14));
    about.AddScale(qvVec2(3, 0.5), q);
    EXPECT_TRUE(Near(Coords(about.Transform(q)), Coords(q), 1e-14));

    // (a·b)(p) = a(b(p)).
    T2 a, b;
    a.AddTurn(0.3);
    a.AddShift(qvVec2(-1, 4));
    a.AddScale(qvVec2(2, 3));
    b.AddMatrix(M2(1, 0.5, -0.25, 2));
    b.AddShift(qvVec2(0.5, 0.5));
    for (const qvVec2& p : {qvVec2(0, 0), qvVec2(1, -2), qvVec2(7, 3)})
        EXPECT_TRUE(Near(Coords((a * b).Transform(p)), Coords(a.Transform(b.Transform(p))), 1e-13));

    // The bounding rectangle of the corners' images.
    T2 quarter;
    quarter.AddTurn(kPi / 2);
    const qvRect<qvVec2> r = quarter.TransformRect(qvRect<qvVec2>(qvVec2(0, 0), qvVec2(2, 1)));
    EXPECT_TRUE(Near(Coords(r.Low()), {-1, 0}, 1e-15));
    EXPECT_TRUE(Near(Coords(r.High()), {0, 2}, 1e-15));
    EXPECT_TRUE(Near(Coords(r.Size()), {1, 2}, 1e-15));
    EXPECT_EQ(std::vector<int>({r.IsInside(qvVec2(-0.5, 1.5)), r.IsInside(qvVec2(0.5, 1))}), std::vector<int>({1, 0}));
}

TEST(Transform2D, InverseAgainstTheAdjugate) {
    Dice dice;
    for (int round = 0; round < 20; ++round) {
        T2 t;
        t.AddMatrix(M2(dice() + 2, dice(), dice(), dice() - 2));
        t.AddShift(qvVec2(5 * dice(), 5 * dice()));
        const qvMatrix2x2& m = t.GetMatrix();
        const double det = m(0, 0) * m(1, 1) - m(0, 1) * m(1, 0);
        const Doubles inv = {m(1, 1) / det, -m(0, 1) / det, -m(1, 0) / det, m(0, 0) / det};
        const T2 u = t.Inverse();
        EXPECT_TRUE(Near(Entries(u.GetMatrix()), inv, 1e-14));
        const qvVec2 s = t.GetShift();
        EXPECT_TRUE(Near(Coords(u.GetShift()), {-(inv[0] * s.X() + inv[1] * s.Y()), -(inv[2] * s.X() + inv[3] * s.Y())},
                         1e-13));
        const qvVec2 p(dice(), dice());
        EXPECT_TRUE(Near(Coords((u * t).Transform(p)), Coords(p), 1e-13));
        // The scale of the inverse: a unit step along each output axis.
        EXPECT_TRUE(Near(Coords(t.GetNewScale(qvVec2(1, 1))),
                         {std::hypot(inv[0], inv[2]), std::hypot(inv[1], inv[3])}, 1e-14));
    }
    T2 flat;
    flat.AddScale(qvVec2(1, 0));
    CQV_EXPECT_BAD(flat.Inverse(), qvMsg::Matrix2x2InverseDetZero);
    CQV_EXPECT_BAD(flat.GetNewScale(qvVec2(1, 1)), qvMsg::Matrix2x2InverseDetZero);
}

TEST(Transform2D, LeastSquaresRotationAndShift) {
    auto arrays = [](const Points& pts) { return Make<qvSimpleArray<qvVec2>>(pts); };
    T2 t;
    t.MakeRotateShiftFromEquations(arrays({{0, 0}, {1, 0}}), arrays({{1, 1}, {1, 2}}));
    EXPECT_TRUE(Near(Entries(t.GetMatrix()), {0, -1, 1, 0}, 1e-15));
    EXPECT_TRUE(Near(Coords(t.GetShift()), {1, 1}, 1e-15));

    // Noisy pairs: the fit is a rotation, and no turn of a direct search
    // over the angle (each with its best shift, the mean of b - R·a) does
    // better.
    Dice dice;
    qvSimpleArray<qvVec2> a(30), b(30);
    for (int i = 0; i < a.Len(); ++i) {
        a[i] = qvVec2(10 * dice(), 10 * dice());
        b[i] = qvVec2(std::cos(2.5) * a[i].X() - std::sin(2.5) * a[i].Y() + 3 + 0.1 * dice(),
                      std::sin(2.5) * a[i].X() + std::cos(2.5) * a[i].Y() - 1 + 0.1 * dice());
    }
    t.MakeRotateShiftFromEquations(a, b);
    const qvMatrix2x2& m = t.GetMatrix();
    EXPECT_NEAR(m.Det(), 1, 1e-14);
    EXPECT_NEAR(m(0, 0), m(1, 1), 1e-15);
    EXPECT_NEAR(m(0, 1), -m(1, 0), 1e-15);
    EXPECT_NEAR(std::atan2(m(1, 0), m(0, 0)), 2.5, 0.01);
    auto residual = [&](const T2& f) {
        double sum = 0;
        for (int i = 0; i < a.Len(); ++i) sum += (f.Transform(a[i]) - b[i]).ScalarMul();
        return sum;
    };
    const double fitted = residual(t);
    for (int k = 0; k < 3600; ++k) {
        const double th = k * kPi / 1800;
        T2 r;
        r.AddTurn(th);
        qvVec2 shift(0, 0);
        for (int i = 0; i < a.Len(); ++i) shift += b[i] - r.Transform(a[i]);
        r.AddShift(shift / a.Len());
        ASSERT_LE(fitted, residual(r) * (1 + 1e-12)) << "angle " << th;
    }

    // All of a at one place: nothing is checked, the turn is 0/0 and the
    // first candidate is kept, since comparisons with NaN fail.
    T2 flat;
    flat.MakeRotateShiftFromEquations(arrays({{1, 1}, {1, 1}}), arrays({{0, 0}, {2, 3}}));
    for (double e : Entries(flat.GetMatrix())) EXPECT_TRUE(std::isnan(e));

    const T2 before = t;
    CQV_EXPECT_BAD(t.MakeRotateShiftFromEquations(qvSimpleArray<qvVec2>(3, qvVec2(0, 0)),
                                                  qvSimpleArray<qvVec2>(4, qvVec2(0, 0))),
                   qvMsg::TransformFitDifferentNumber);
    EXPECT_EQ(Entries(t.GetMatrix()), Entries(before.GetMatrix()));
    EXPECT_EQ(Coords(t.GetShift()), Coords(before.GetShift()));
}

TEST(Transform3D, TurnsScalesInverseAndComposition) {
    // Rz(g)·Ry(b)·Rx(a): the point turned about x, then y, then z.
    const double ax = 0.3, by = -0.8, gz = 1.1;
    T3 t;
    t.AddTurn(ax, by, gz);
    const V3 p(1, 2, 3);
    const V3 px(p.X(), std::cos(ax) * p.Y() - std::sin(ax) * p.Z(), std::sin(ax) * p.Y() + std::cos(ax) * p.Z());
    const V3 py(std::cos(by) * px.X() + std::sin(by) * px.Z(), px.Y(), -std::sin(by) * px.X() + std::cos(by) * px.Z());
    const V3 pz(std::cos(gz) * py.X() - std::sin(gz) * py.Y(), std::sin(gz) * py.X() + std::cos(gz) * py.Y(), py.Z());
    EXPECT_TRUE(Near(Coords(t.Transform(p)), Coords(pz), 1e-14));

    // About a centre, about an axis, and from one direction onto another.
    const V3 q(1, -1, 2);
    T3 c;
    c.AddTurn(ax, by, gz, q);
    EXPECT_TRUE(Near(Coords(c.Transform(q)), Coords(q), 1e-14));
    T3 axis;
    axis.AddTurn(kPi / 2, V3(0, 0, 5));
    EXPECT_TRUE(Near(Coords(axis.Transform(V3(1, 0, 7))), {0, 1, 7}, 1e-15));
    T3 onto;
    onto.AddTurn(V3(1, 1, 0), V3(0, 0, 3));
    EXPECT_TRUE(Near(Coords(onto.Transform(V3(1, 1, 0))), {0, 0, std::sqrt(2.0)}, 1e-15));

    T3 s;
    s.AddShift(V3(1, 2, 3));
    s.AddScale(V3(2, 3, 4));
    EXPECT_EQ(Coords(s.GetShift()), (Doubles{2, 6, 12}));
    s.AddTurn(0.4, 0.5, 0.6);
    EXPECT_TRUE(Near(Coords(s.GetOldScale(V3(1, 1, 1))), {2, 3, 4}, 1e-14));
    // The inverse is diag(1/2, 1/3, 1/4)·Rᵀ: its column i is row i of R
    // divided by the scales.
    T3 rot;
    rot.AddTurn(0.4, 0.5, 0.6);
    Doubles inverseColumns;
    for (int i = 0; i < 3; ++i) {
        const qvTMatrix3x3<double>& r = rot.GetMatrix();
        inverseColumns.push_back(std::sqrt(std::pow(r(i, 0) / 2, 2) + std::pow(r(i, 1) / 3, 2) + std::pow(r(i, 2) / 4, 2)));
    }
    EXPECT_TRUE(Near(Coords(s.GetNewScale(V3(1, 1, 1))), inverseColumns, 1e-14));
    s.AddScale(V3(2, 2, 2), q);
    EXPECT_TRUE(Near(Coords((s * t).Transform(p)), Coords(s.Transform(t.Transform(p))), 1e-13));

    // The inverse against the adjugate of a general matrix.
    T3 g;
    g.AddMatrix(M3({2, 1, 0, -1, 3, 1, 0.5, 0, 1}));
    g.AddShift(V3(1, -2, 0.5));
    const qvTMatrix3x3<double>& m = g.GetMatrix();
    Doubles adj(9);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            const int r0 = (j + 1) % 3, r1 = (j + 2) % 3, c0 = (i + 1) % 3, c1 = (i + 2) % 3;
            adj[3 * i + j] = m(r0, c0) * m(r1, c1) - m(r0, c1) * m(r1, c0);
        }
    const double det = m(0, 0) * adj[0] + m(0, 1) * adj[3] + m(0, 2) * adj[6];
    for (double& e : adj) e /= det;
    const T3 inv = g.Inverse();
    EXPECT_TRUE(Near(Entries(inv.GetMatrix()), adj, 1e-15));
    EXPECT_TRUE(Near(Coords((inv * g).Transform(p)), Coords(p), 1e-14));
    T3 flat;
    flat.AddScale(V3(1, 1, 0));
    CQV_EXPECT_BAD(flat.Inverse(), qvMsg::SystemNotUnique);
}

// The entries row by row, then the shift, little-endian; nothing past them is
// written. A record cut anywhere is refused, through the member and through
// the free function, and leaves the transform as it was; the whole one
// reads back.
TEST(TransformRecords, MatrixFirstThenShiftAndCutsRefused) {
    const auto expectRecord = [](const auto& t, auto target, std::initializer_list<double> want) {
        const int size = static_cast<int>(8 * want.size());
        std::vector<unsigned char> rec(static_cast<std::size_t>(size) + 1, 0xEE);
        EXPECT_EQ(qvMemSize(t), size);
        EXPECT_EQ(qvToMem(rec.data(), t), size);
        EXPECT_EQ(rec.back(), 0xEE);
        rec.pop_back();
        ASSERT_EQ(rec, cqvtest::RecordBytes().Doubles(want).bytes);
        const auto written = [](const auto& x) {
            std::vector<unsigned char> out(static_cast<std::size_t>(qvMemSize(x)));
            qvToMem(out.data(), x);
            return out;
        };
        auto other = target;
        cqvtest::ExpectEveryCutRefused(
            rec, [&](const unsigned char* p, int n) { return target.FromMem(p, n); }, [&] { return written(target); });
        cqvtest::ExpectEveryCutRefused(
            rec, [&](const unsigned char* p, int n) { return qvFromMem(p, n, other); }, [&] { return written(other); });
        auto unbounded = decltype(target)();
        EXPECT_EQ(qvFromMem(rec.data(), unbounded), size);
        EXPECT_EQ(std::make_tuple(written(target), written(other), written(unbounded)), std::make_tuple(rec, rec, rec));
        EXPECT_EQ(qvRecordSize(rec.data(), size + 1, target), size);
        CQV_EXPECT_BAD(qvRecordSize(rec.data(), size - 1, target), qvMsg::RecordTruncated);
    };
    T2 t, scaled;
    t.AddMatrix(M2(1, 2, 3, 4));
    t.AddShift(qvVec2(5, 6));
    scaled.AddScale(qvVec2(2, 5));
    expectRecord(t, scaled, {1, 2, 3, 4, 5, 6});
    T3 s;
    s.AddMatrix(M3({1, 2, 3, 4, 5, 6, 7, 8, 9}));
    s.AddShift(V3(10, 11, 12));
    expectRecord(s, T3(), {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
}

TEST(TransformCoord, GeneralFormSharesItsStorage) {
    qvColumnVector<double> shift(2), dir(2), three(3);
    shift[0] = 1, shift[1] = 2, dir[0] = 0, dir[1] = 3;
    three.Fill(0);
    CQV_EXPECT_BAD(qvTransformCoord(three, three, 0), qvMsg::TransformShiftNotTwo);
    CQV_EXPECT_BAD(qvTransformCoord(shift, three, 0), qvMsg::Vec2DimensionTwo);

    // The x axis turned onto (0, 3): (1, 0) goes to (0, 1), then shifted.
    qvTransformCoord t(shift, dir, 0);
    shift[0] = 100;  // the transform keeps a copy of its own
    qvColumnVector<double> x(2);
    x[0] = 1, x[1] = 0;
    EXPECT_TRUE(Near({t.GetCoord(x)[0], t.GetCoord(x)[1]}, {1, 3}, 1e-15));
    // The y axis onto (0, 3): no turn at all.
    const qvTransformCoord ty(shift, dir, 1);
    EXPECT_TRUE(Near({ty.GetCoord(x)[0], ty.GetCoord(x)[1]}, {101, 2}, 1e-15));
    CQV_EXPECT_BAD(t.GetCoord(three), qvMsg::DifferentLength);

    // A copy is a window on both parts; assignment writes into the present
    // storage.
    qvTransformCoord w(t);
    w[0] = -5;
    EXPECT_EQ(t[0], -5);
    EXPECT_EQ(&w.GetMatrix()(0, 0), &t.GetMatrix()(0, 0));
    qvTransformCoord u(ty);
    const double* uShift = u.GetPointer();
    u = t;
    EXPECT_EQ(u.GetPointer(), uShift);
    EXPECT_EQ(u[0], -5);
    u[1] = 9;
    EXPECT_EQ(t[1], 2);

    // Column lengths weighted row by row: the 45° turn of (1, 1).
    dir[0] = 1, dir[1] = 1;
    qvColumnVector<double> wts(2);
    wts[0] = 2, wts[1] = 3;
    const qvColumnVector<double> sc = qvTransformCoord(shift, dir, 0).GetScale(wts);
    EXPECT_TRUE(Near({sc[0], sc[1]}, {std::sqrt(6.5), std::sqrt(6.5)}, 1e-15));
    CQV_EXPECT_BAD(t.GetScale(three), qvMsg::DifferentLength);
}
