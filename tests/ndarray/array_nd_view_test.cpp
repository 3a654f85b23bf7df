// Views of N-dimensional arrays against the index model of
// nd_test_support.h: random strided windows (zero and negative strides
// included) and random chains of flips, axis swaps, turns, slices and
// sub-boxes, each read back every way the array offers and written through.
#include "cqv_test.h"

#include <algorithm>
#include <cstring>
#include <random>
#include <vector>

#include "nd_test_support.h"

using namespace ndtest;

namespace {

// The values of src at the model's offsets, in walk order.
std::vector<double> Values(const qvArrayND<double>& src, const Model& m) {
    std::vector<double> v;
    for (int at : m.at) v.push_back(src.GetPointer()[at]);
    return v;
}

// Checks view against the model m of its elements in src, every way the
// view can be read, then writes through it and checks what src sees.
void Observe(qvArrayND<double>& view, const Model& m, qvArrayND<double>& src) {
    SCOPED_TRACE("range " + testing::PrintToString(m.range) + " offsets " + testing::PrintToString(m.at));
    ASSERT_EQ(Items(view.Range()), m.range);
    ASSERT_EQ(view.size(), static_cast<int>(m.at.size()));
    const std::vector<double> want = Values(src, m);
    const double* base = src.GetPointer();

    // The walk, element by element.
    std::vector<const double*> walked;
    for (auto it = view.begin(); it != view.end(); ++it) walked.push_back(&*it);
    std::vector<const double*> expected;
    for (int at : m.at) expected.push_back(base + at);
    EXPECT_EQ(walked, expected);
    EXPECT_EQ(&view.front(), base + m.at.front());
    EXPECT_EQ(&view.back(), base + m.at.back());

    // A private dense copy.
    const qvArrayND<double> copy(view);
    EXPECT_EQ(Items(copy.Tab()), Items(qvArrayNDAbs::MkTabFromRange(A(m.range), 1)));
    EXPECT_EQ(std::vector<double>(copy.GetPointer(), copy.GetPointer() + copy.size()), want);
    EXPECT_EQ(copy == view, 1);

    // The record: the extents, then the elements in walk order.
    std::vector<unsigned char> rec(static_cast<std::size_t>(view.MemSize()));
    ASSERT_EQ(view.ToMem(rec.data()), 4 + 4 * static_cast<int>(m.range.size()) + 8 * view.size());
    std::vector<double> recorded(want.size());
    std::memcpy(recorded.data(), rec.data() + 4 + 4 * m.range.size(), 8 * want.size());
    EXPECT_EQ(recorded, want);

    // Extremes and the median of a sorted copy.
    double lo = 0, hi = 0;
    view.MinAndMax(lo, hi);
    EXPECT_EQ(std::make_tuple(lo, hi, view.Min(), view.Max()),
              std::make_tuple(*std::min_element(want.begin(), want.end()), *std::max_element(want.begin(), want.end()),
                              lo, hi));
    std::vector<double> sorted = want;
    std::sort(sorted.begin(), sorted.end());
    const std::vector<double> before(base, base + src.size());
    EXPECT_EQ(view.Median(), sorted[(sorted.size() - 1) / 2]);
    EXPECT_EQ(std::vector<double>(base, base + src.size()), before);  // nothing reordered

    // Written through: the source sees exactly the view's elements change.
    view.Fill(-7);
    std::vector<double> after = before;
    for (int at : m.at) after[static_cast<std::size_t>(at)] = -7;
    EXPECT_EQ(std::vector<double>(base, base + src.size()), after);
    std::copy(before.begin(), before.end(), src.GetPointer());
}

// A random strided window on a fresh numbered source, and its model: 1 to 5
// dimensions, strides from -4 to 4 (zero included), lying inside the source.
struct RandomWindow {
    qvArrayND<double> src;
    qvArrayND<double> view;
    Model model;
};

RandomWindow MakeWindow(std::mt19937& g) {
    const Ints range = RandomRange(g, 1, 5, 3);
    Ints tab(range.size());
    int lo = 0, hi = 0;
    for (std::size_t d = 0; d < range.size(); ++d) {
        tab[d] = std::uniform_int_distribution<int>(-4, 4)(g);
        const int reach = (range[d] - 1) * tab[d];
        (reach < 0 ? lo : hi) += reach;
    }
    const int slack = std::uniform_int_distribution<int>(0, 3)(g);
    RandomWindow w{Numbered<double>({hi - lo + 1 + slack}), {}, {}};
    const int origin = -lo + std::uniform_int_distribution<int>(0, slack)(g);
    w.view.Set(w.src, origin, A(range), A(tab));
    w.model = Model::Strided(range, tab, origin);
    return w;
}

}  // namespace

TEST(ArrayNDView, RandomStridedWindowsMatchTheModel) {
    std::mt19937 g(2024);
    for (int trial = 0; trial < 150; ++trial) {
        RandomWindow w = MakeWindow(g);
        EXPECT_EQ(cqvtest::BlockCount(w.src.GetPointer()), 2);
        Observe(w.view, w.model, w.src);
    }
}

TEST(ArrayNDView, RandomChainsOfViewsMatchTheModel) {
    std::mt19937 g(99);
    for (int trial = 0; trial < 80; ++trial) {
        const Ints range = RandomRange(g, 1, 5, 4);
        qvArrayND<double> src = Numbered<double>(range);
        qvArrayND<double> view;
        view.Set(src);
        Model m = Model::Strided(range, Items(src.Tab()), 0);
        for (int step = 0; step < 6; ++step) {
            const int dim = view.GetDim();
            const int a = std::uniform_int_distribution<int>(0, dim - 1)(g);
            const int b = std::uniform_int_distribution<int>(0, dim - 1)(g);
            switch (std::uniform_int_distribution<int>(0, 5)(g)) {
                case 0:
                    view.Flip(a);
                    m = m.Flip(a);
                    break;
                case 1:
                    view.SwapAxis(a, b);
                    m = m.Swap(a, b);
                    break;
                case 2:
                    view.Rotate90(a, b);
                    m = m.Swap(a, b).Flip(b);
                    break;
                case 3:
                    view.Rotate180(a, b);
                    m = m.Flip(a).Flip(b);
                    break;
                case 4: {
                    if (dim < 2) continue;
                    const int index = std::uniform_int_distribution<int>(0, m.range[static_cast<std::size_t>(a)] - 1)(g);
                    if (step % 2 == 0) {
                        view.ReduceDimArrayND(view, a, index);
                    } else {
                        qvArrayND<double>* slice = view.GetReduceDimArrayND(a, index);
                        view.Set(*slice);
                        delete slice;
                    }
                    m = m.Slice(a, index);
                    break;
                }
                default: {
                    Ints origin(m.range.size()), box(m.range.size());
                    for (std::size_t d = 0; d < box.size(); ++d) {
                        origin[d] = std::uniform_int_distribution<int>(0, m.range[d] - 1)(g);
                        box[d] = std::uniform_int_distribution<int>(1, m.range[d] - origin[d])(g);
                    }
                    qvArrayND<double> sub;
                    sub.SetSubWindow(view, A(origin), A(box));
                    view.Move(sub);
                    m = m.Box(origin, box);
                    break;
                }
            }
            EXPECT_EQ(cqvtest::BlockCount(src.GetPointer()), 2);
            Observe(view, m, src);
        }
    }
}

TEST(ArrayNDView, ViewsShareTheBlockAndOutliveTheSource) {
    auto* src = new qvArrayND<double>(Numbered<double>({2, 3}));
    double* block = src->GetPointer();
    qvArrayND<double> slice, flipped, swapped, box;
    slice.ReduceDimArrayND(*src, 0, 1);
    flipped.Set(*src);
    flipped.Flip(1);
    swapped.Set(*src);
    swapped.SwapAxis(0, 1);
    box.SetSubWindow(*src, A({1, 1}), A({1, 2}));
    EXPECT_EQ(cqvtest::BlockCount(block), 5);
    EXPECT_EQ(std::make_tuple(Items(slice.Range()), Items(slice.Tab()), slice.GetPointer()),
              std::make_tuple(Ints{3}, Ints{2}, block + 1));
    EXPECT_EQ(std::make_tuple(Items(swapped.Range()), Items(swapped.Tab())), std::make_tuple(Ints{3, 2}, Ints{2, 1}));
    delete src;
    EXPECT_EQ(cqvtest::BlockCount(block), 4);
    slice.Fill(0);  // elements (1, 0), (1, 1), (1, 2)
    EXPECT_EQ(std::vector<double>(flipped.begin(), flipped.end()), (std::vector<double>{5, 0, 3, 0, 1, 0}));
    EXPECT_EQ(std::vector<double>(box.begin(), box.end()), (std::vector<double>{0, 0}));
    // Copy makes a view private; its former source keeps its elements.
    box.Copy();
    box.Fill(8);
    EXPECT_EQ(std::vector<double>(swapped.begin(), swapped.end()), (std::vector<double>{1, 3, 5, 0, 0, 0}));
    EXPECT_EQ(cqvtest::BlockCount(block), 3);
    EXPECT_EQ(cqvtest::BlockCount(box.GetPointer()), 1);
}

// Two operands of equal extents and different strides are walked in step:
// every element is combined with the other's element at the same indices,
// in walk order (which decides the outcome when a view repeats elements).
TEST(ArrayNDView, ArithmeticBetweenDifferentLayouts) {
    std::mt19937 g(5);
    for (int trial = 0; trial < 100; ++trial) {
        RandomWindow a = MakeWindow(g);
        // The other operand: a dense array of a's extents seen through
        // random flips, so that its strides differ from a's.
        qvArrayND<double> other = Numbered<double>(a.model.range);
        other *= 0.5;
        qvArrayND<double> b;
        b.Set(other);
        Model mb = Model::Strided(a.model.range, Items(other.Tab()), 0);
        for (int d = 0; d < b.GetDim(); ++d) {
            if (std::uniform_int_distribution<int>(0, 1)(g) == 0) continue;
            b.Flip(d);
            mb = mb.Flip(d);
        }
        const int op = trial % 4;
        std::vector<double> want(a.src.GetPointer(), a.src.GetPointer() + a.src.size());
        const std::vector<double> bv = Values(other, mb);
        for (std::size_t k = 0; k < a.model.at.size(); ++k) {
            double& e = want[static_cast<std::size_t>(a.model.at[k])];
            const double x = bv[k];
            e = op == 0 ? e + x : op == 1 ? e - x : op == 2 ? e * x : e / x;
        }
        if (op == 0) a.view += b;
        if (op == 1) a.view -= b;
        if (op == 2) a.view *= b;
        if (op == 3) a.view /= b;
        EXPECT_EQ(std::vector<double>(a.src.GetPointer(), a.src.GetPointer() + a.src.size()), want);
        // And with a scalar.
        for (int at : a.model.at) want[static_cast<std::size_t>(at)] -= 2.5;
        a.view -= 2.5;
        EXPECT_EQ(std::vector<double>(a.src.GetPointer(), a.src.GetPointer() + a.src.size()), want);
    }
}

TEST(ArrayNDView, OperandsOnTheSameBlockFollowTheWalk) {
    // a += its own reversal: the walk updates element 0 from element 3
    // before element 3 is read for element 0's partner, and so on.
    qvArrayND<int> a = Numbered<int>({4});
    qvArrayND<int> r;
    r.Set(a);
    r.Flip(0);
    a += r;
    std::vector<int> want = {1, 2, 3, 4};
    for (int k = 0; k < 4; ++k) want[static_cast<std::size_t>(k)] += want[static_cast<std::size_t>(3 - k)];
    EXPECT_EQ(std::vector<int>(a.begin(), a.end()), want);  // 5, 5, 8, 9
    // A zero stride repeats one element: it is updated once per index.
    int cell[1] = {1};
    qvArrayND<int> rep;
    rep.SetDirectly(cell, A({3}), A({0}));
    rep *= 3;
    EXPECT_EQ(cell[0], 27);
    EXPECT_EQ(static_cast<int>(std::distance(rep.begin(), rep.end())), 3);
}
