// Views of N-dimensional arrays against the index model of
// nd_test_support.h: random strided windows (zero and negative strides
// included) and random chains of flips, axis swaps, turns, slices and
// sub-boxes, each read back every way the array offers and written through.
#include "cqv_test.h"

#include <algorithm>
#include <random>
#include <vector>

#include "nd_test_support.h"

using namespace ndtest;

namespace {

std::vector<double> Values(const qvArrayND<double>& src, const Model& m) {
    std::vector<double> v;
    for (int at : m.at) v.push_back(src.GetPointer()[at]);
    return v;
}

std::vector<double> All(const qvArrayND<double>& a) { return std::vector<double>(a.GetPointer(), a.GetPointer() + a.size()); }

// Checks view against the model m of its elements in src, every way the
// view can be read, then writes through it and checks what src sees.
void Observe(qvArrayND<double>& view, const Model& m, qvArrayND<double>& src) {
    SCOPED_TRACE("range " + testing::PrintToString(m.range) + " offsets " + testing::PrintToString(m.at));
    ASSERT_EQ(Items(view.Range()), m.range);
    const std::vector<double> want = Values(src, m);
    std::vector<const double*> walked, expected;
    for (const double& e : view) walked.push_back(&e);
    for (int at : m.at) expected.push_back(src.GetPointer() + at);
    EXPECT_EQ(walked, expected);
    const double* ends[2] = {&view.front(), &view.back()};
    EXPECT_EQ(std::make_pair(ends[0], ends[1]), std::make_pair(expected.front(), expected.back()));
    const qvArrayND<double> copy(view);  // private and dense
    EXPECT_EQ(std::make_tuple(Items(copy.Tab()), All(copy), copy == view),
              std::make_tuple(Items(qvArrayNDAbs::MkTabFromRange(A(m.range), 1)), want, 1));
    double lo = 0, hi = 0;
    view.MinAndMax(lo, hi);
    std::vector<double> sorted = want;
    std::sort(sorted.begin(), sorted.end());
    const std::vector<double> before = All(src);
    EXPECT_EQ(std::make_tuple(lo, hi, view.Min(), view.Max(), view.Median()),
              std::make_tuple(sorted.front(), sorted.back(), sorted.front(), sorted.back(), sorted[(sorted.size() - 1) / 2]));
    // Written through: src sees exactly the view's elements change.
    view.Fill(-7);
    std::vector<double> after = before;
    for (int at : m.at) after[static_cast<std::size_t>(at)] = -7;
    EXPECT_EQ(All(src), after);
    std::copy(before.begin(), before.end(), src.GetPointer());
}

// A random window of 1 to 5 dimensions with strides from -4 to 4 on a fresh
// numbered source, lying inside it, and its model.
struct RandomWindow {
    qvArrayND<double> src, view;
    Model model;
};

RandomWindow MakeWindow(std::mt19937& g) {
    const Ints range = RandomRange(g, 1, 5, 3);
    Ints tab;
    int lo = 0, hi = 0;
    for (int r : range) {
        tab.push_back(std::uniform_int_distribution<int>(-4, 4)(g));
        ((r - 1) * tab.back() < 0 ? lo : hi) += (r - 1) * tab.back();
    }
    const int slack = std::uniform_int_distribution<int>(0, 3)(g);
    RandomWindow w{Numbered<double>({hi - lo + 1 + slack}), {}, {}};
    const int origin = -lo + std::uniform_int_distribution<int>(0, slack)(g);
    w.view.Set(w.src, origin, A(range), A(tab));
    w.model = Model::Strided(range, tab, origin);
    return w;
}

}  // namespace

// Each chain starts from a random strided window (zero and negative
// strides included), which holds the block after its source is gone.
TEST(ArrayNDView, RandomChainsOfViewsMatchTheModel) {
    std::mt19937 g(99);
    for (int trial = 0; trial < 120; ++trial) {
        RandomWindow w = MakeWindow(g);
        qvArrayND<double>& src = w.src;
        qvArrayND<double>& view = w.view;
        Model& m = w.model;
        for (int step = 0; step < 6; ++step) {
            EXPECT_EQ(cqvtest::BlockCount(src.GetPointer()), 2);
            Observe(view, m, src);
            const int dim = view.GetDim();
            const int a = std::uniform_int_distribution<int>(0, dim - 1)(g);
            const int b = std::uniform_int_distribution<int>(0, dim - 1)(g);
            const auto ua = static_cast<std::size_t>(a), ub = static_cast<std::size_t>(b);
            const int op = std::uniform_int_distribution<int>(0, 5)(g);
            if (op == 0) {
                view.Flip(a);
                m = m.Flip(ua);
            } else if (op == 1) {
                view.SwapAxis(a, b);
                m = m.Swap(ua, ub);
            } else if (op == 2) {
                view.Rotate90(a, b);
                m = m.Swap(ua, ub).Flip(ub);
            } else if (op == 3) {
                view.Rotate180(a, b);
                m = m.Flip(ua).Flip(ub);
            } else if (op == 4 && dim > 1) {
                // A slice of the view itself, or a new one handed over.
                const int index = std::uniform_int_distribution<int>(0, m.range[ua] - 1)(g);
                if (step % 2 == 0) {
                    view.ReduceDimArrayND(view, a, index);
                } else {
                    qvArrayND<double>* slice = view.GetReduceDimArrayND(a, index);
                    view.Move(*slice);
                    delete slice;
                }
                m = m.Slice(ua, index);
            } else if (op == 5) {
                const auto box = RandomBox(g, m.range);
                view.SetSubWindow(view, A(box.first), A(box.second));
                m = m.Box(box.first, box.second);
            }
        }
        Observe(view, m, src);
        const std::vector<double> seen = Values(src, m);
        src.clear();
        EXPECT_EQ(Walked(view), seen);
    }
}

// Operands of equal extents and different strides are walked in step:
// every element is combined with the other's element at the same indices.
TEST(ArrayNDView, ArithmeticBetweenDifferentLayouts) {
    std::mt19937 g(5);
    for (int trial = 0; trial < 100; ++trial) {
        RandomWindow a = MakeWindow(g);
        // The other operand: a dense array of a's extents seen through random
        // flips, so that its strides differ from a's.
        qvArrayND<double> other = Numbered<double>(a.model.range), b;
        other *= 0.5;
        b.Set(other);
        Model mb = Model::Strided(a.model.range, Items(other.Tab()), 0);
        for (int d = 0; d < b.GetDim(); ++d) {
            if (std::uniform_int_distribution<int>(0, 1)(g) == 0) continue;
            b.Flip(d);
            mb = mb.Flip(static_cast<std::size_t>(d));
        }
        // In walk order, which decides the outcome where a repeats elements.
        const int op = trial % 4;
        std::vector<double> want = All(a.src);
        const std::vector<double> bv = Values(other, mb);
        for (std::size_t k = 0; k < a.model.at.size(); ++k) {
            double& e = want[static_cast<std::size_t>(a.model.at[k])];
            e = op == 0 ? e + bv[k] : op == 1 ? e - bv[k] : op == 2 ? e * bv[k] : e / bv[k];
        }
        (op == 0 ? a.view += b : op == 1 ? a.view -= b : op == 2 ? a.view *= b : a.view /= b) -= 2.5;
        for (int at : a.model.at) want[static_cast<std::size_t>(at)] -= 2.5;
        EXPECT_EQ(All(a.src), want);
    }
}

// a += its own reversal: the operands share a block. (A zero stride, which
// repeats an element, is among the random windows above.)
TEST(ArrayNDView, OperandsOnTheSameBlockFollowTheWalk) {
    // a += its own reversal: element 2 is updated from element 1 after
    // element 1 was, and so on.
    qvArrayND<int> a = Numbered<int>({4});
    qvArrayND<int> r;
    r.Set(a);
    r.Flip(0);
    a += r;
    EXPECT_EQ(Walked(a), (std::vector<int>{1 + 4, 2 + 3, 3 + 5, 4 + 5}));
}
