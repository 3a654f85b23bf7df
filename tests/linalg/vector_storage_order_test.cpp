// Windows through any stride, empty operands onto live blocks, the order in
// which vectors and matrices let go of storage when a check fails, and
// growth of a vector's block where it lies.
#include "linalg_test_support.h"

#include <functional>
#include <string>
#include <vector>

using namespace linalgtest;
using cqvtest::BlockCount;
using cqvtest::BlockSizeWord;

namespace {

using Ints = std::vector<int>;

// A block whose element k holds the number k.
Col Numbered(int n) {
    Col v(n);
    for (int i = 0; i < n; ++i) v[i] = i;
    return v;
}

// n numbers from first in steps of step: what a window of stride step from
// storage element first must show over Numbered storage.
Doubles Walk(int first, int n, int step) {
    Doubles r;
    for (int i = 0; i < n; ++i) r.push_back(first + i * step);
    return r;
}

}  // namespace

// Every member that makes a window, applied to sources whose stride is
// negative and whose stride is not 1: the window keeps the source's stride
// from the right first element, and holds the source's block. (Copies, and
// Set with a stride of its own, are run from strided sources by the sharing
// model, sharing_model_test.cpp.)
TEST(VectorWindowsThroughStrides, EveryWindowMemberFollowsTheSourceStride) {
    const Col base = Numbered(40);
    for (const int step : {-2, 3, -1}) {
        SCOPED_TRACE("stride " + std::to_string(step));
        // The source: 8 elements from storage element s0 with the stride.
        const int s0 = step < 0 ? 30 : 2;
        Col src;
        src.Set(base, s0, 8, step);
        ASSERT_EQ(Values(src), Walk(s0, 8, step));
        const Line srcLine(src);

        struct Case {
            std::string name;
            std::function<void(qvVector<double>&)> make;
            int first, n;
        };
        const std::vector<Case> cases = {
            {"window on a vector", [&](qvVector<double>& w) { Line c(src); w.Move(c); }, s0, 8},
            {"Set", [&](qvVector<double>& w) { w.Set(src, 2, 5); }, s0 + 2 * step, 5},
            {"SetSubWindow", [&](qvVector<double>& w) { w.SetSubWindow(src, 3, 4); }, s0 + 3 * step, 4},
            {"Left", [&](qvVector<double>& w) { src.Left(w, 3); }, s0, 3},
            {"Right", [&](qvVector<double>& w) { src.Right(w, 3); }, s0 + 5 * step, 3},
            {"Mid", [&](qvVector<double>& w) { src.Mid(w, 2, 4); }, s0 + 2 * step, 4},
            {"column T", [&](qvVector<double>& w) { Line t = src.T(); w.Move(t); }, s0, 8},
            {"line T", [&](qvVector<double>& w) { Col t = srcLine.T(); w.Move(t); }, s0, 8},
        };
        for (const Case& c : cases) {
            SCOPED_TRACE(c.name);
            const int holders = Holders(base);
            Col w;
            c.make(w);
            EXPECT_EQ(Values(w), Walk(c.first, c.n, step));
            EXPECT_EQ(w.Tab(), step);
            EXPECT_EQ(Holders(base), holders + 1);
        }
    }

    // Rows and columns of a matrix seen with both strides negative.
    double raw[12];
    for (int k = 0; k < 12; ++k) raw[k] = k;
    M m;
    m.SetDirectly(raw + 11, 3, 4, -4, -1);
    Line row;
    Col column;
    m.GetLine(row, 1);
    m.GetColumn(column, 2);
    EXPECT_EQ(Values(row), Walk(7, 4, -1));
    EXPECT_EQ(Values(column), Walk(9, 3, -4));
}

// Empty vectors without storage and as windows onto a live block (where a
// product that read element 0 anyway would find a number): products and
// norms are zero, element-wise work touches nothing, new vectors are refused.
TEST(VectorEmptyOperands, ProductsOfEmptyVectorsAreZeroWithALiveBlockBehind) {
    const Col live = MakeCol({6, 7, 8});
    Col window;
    window.Set(live, 1, 0);
    const Col none;
    for (const Col* e : {static_cast<const Col*>(&window), &none}) {
        SCOPED_TRACE(e == &none ? "no storage" : "window onto a live block");
        const Line row = e->T();
        EXPECT_EQ((Doubles{e->ScalarMul(*e), e->Norm(), row * *e}), (Doubles{0, 0, 0}));
        EXPECT_EQ((row.T() * row).LineLen(), 0);
        Col w(*e);
        w += *e;
        w *= 2.0;
        w.Max(*e);
        CQV_EXPECT_BAD(*e + 1.0, qvMsg::NewWithRefNonPositive);
        CQV_EXPECT_BAD(*e - *e, qvMsg::NewWithRefNonPositive);
    }
    EXPECT_EQ(Values(live), (Doubles{6, 7, 8}));
    // The other element types' products and norms of an empty window.
    const auto zeroOfAnEmptyWindow = [](const auto& live, const auto& zero) {
        std::decay_t<decltype(live)> w;
        w.Set(live, 0, 0);
        EXPECT_EQ((std::vector<std::decay_t<decltype(zero)>>{w.ScalarMul(w), w.Norm()}), (std::vector{zero, zero}));
    };
    zeroOfAnEmptyWindow(MakeCol<qvComplex>({{1, 2}}), qvComplex(0, 0));
    zeroOfAnEmptyWindow(MakeCol<V3>({{1, 2, 3}}), V3(0, 0, 0));
}

// ---- Failed checks after the storage is released -------------------------------

namespace {

// A vector and a matrix whose protected SetMem the test calls.
struct VectorHolder : Col {
    using Col::SetMem;
};
struct MatrixHolder : M {
    using M::SetMem;
};

unsigned char kNegative[8] = {0xff, 0xff, 0xff, 0xff, 2, 0, 0, 0};

}  // namespace

TEST(StorageOrder, VectorsAndMatricesReleaseBeforeRefusingALength) {
    const std::vector<std::function<void(Col&)>> vectorOps = {
        [](Col& v) { v.Set(-1); },
        [](Col& v) { v.Init(-2); },
        [](Col& v) { v.FromMem(kNegative); },
    };
    for (const auto& op : vectorOps) {
        Col v = MakeCol({1, 2, 3});
        const Col keep(v);
        ExpectReleasedBeforeThrow(v, keep.GetMem(), op, qvMsg::NewWithRefNonPositive);
        EXPECT_EQ(v.Len(), 0);
    }
    const std::vector<std::function<void(M&)>> matrixOps = {
        [](M& m) { m.Set(-1, 2); },
        [](M& m) { m.Set(-1, -2); },  // a positive product of negative sizes
        [](M& m) { m.Init(3, -1); },
        [](M& m) { m.FromMem(kNegative); },
    };
    for (const auto& op : matrixOps) {
        M m = MatrixOf(2, 2, {1, 2, 3, 4});
        const M keep(m);
        ExpectReleasedBeforeThrow(m, keep.GetMem(), op, qvMsg::NewWithRefNonPositive);
        EXPECT_EQ(Shape(m), (Ints{0, 0}));
    }
    // A zero size with a negative one is simply empty.
    EXPECT_EQ(Shape(M(0, -5)), (Ints{0, 0}));
}

TEST(StorageOrder, SetMemOfAnUncountedBlockReleasesTheHeldOneFirst) {
    VectorHolder v;
    v.Set(3);
    const Col keepV(v);
    ExpectSetMemOfAnUncountedBlockReleasesFirst(v, keepV.GetMem());
    MatrixHolder m;
    m.Set(2, 2);
    const M keepM(m);
    ExpectSetMemOfAnUncountedBlockReleasesFirst(m, keepM.GetMem());
}

// ---- Growth in place ---------------------------------------------------------

// Edits of a vector that alone holds its whole block, beside the same edits
// on a plain vector; the block stays exactly as long as the vector.
TEST(VectorGrowth, EditsOfASoleBlockKeepTheElementsAndAnExactBlock) {
    struct Edit {
        std::function<void(Col&)> edit;
        std::function<void(Doubles&)> model;
    };
    const std::vector<Edit> edits = {
        {[](Col& v) { v.push_back(v[1]); }, [](Doubles& m) { m.push_back(m[1]); }},
        {[](Col& v) { v.push_front(v[2]); }, [](Doubles& m) { m.insert(m.begin(), m[2]); }},
        {[](Col& v) { v.Insert(9, 1); }, [](Doubles& m) { m.insert(m.begin() + 1, 9); }},
        {[](Col& v) { v.Concat(v); }, [](Doubles& m) {
             const Doubles c = m;
             m.insert(m.end(), c.begin(), c.end());
         }},
        {[](Col& v) { v.pop_back(); }, [](Doubles& m) { m.pop_back(); }},
        {[](Col& v) { v.Remove(0); }, [](Doubles& m) { m.erase(m.begin()); }},
        {[](Col& v) { v.pop_front(); }, [](Doubles& m) { m.erase(m.begin()); }},
        {[](Col& v) { v.resize(5); v[3] = v[4] = 8; }, [](Doubles& m) { m.resize(5, 8); }},
    };
    for (std::size_t k = 0; k < edits.size(); ++k) {
        SCOPED_TRACE("edit " + std::to_string(k));
        Col v = MakeCol({1, 2, 3});
        Doubles model = Values(v);
        edits[k].edit(v);
        edits[k].model(model);
        EXPECT_EQ(Values(v), model);
        EXPECT_EQ((Ints{v.Tab(), BlockCount(v.GetMem()), BlockSizeWord(v.GetMem())}), (Ints{1, 1, -v.Len()}));
    }
    // A strided window that alone holds its block still moves to a fresh
    // contiguous one, and an external view of the vector is read before the
    // block moves.
    Col strided;
    MakeCol({1, 2, 3, 4}).Mid(strided, 0, 4);
    strided.Set(strided, 3, 2, -2);
    strided.push_back(5);
    EXPECT_EQ(Values(strided), (Doubles{4, 2, 5}));
    EXPECT_EQ(BlockSizeWord(strided.GetMem()), -3);
    Col v = MakeCol({1, 2});
    Col view;
    view.SetDirectly(v.GetPointer(), 2, 1);
    v.Concat(view);
    EXPECT_EQ(Values(v), (Doubles{1, 2, 1, 2}));
}
