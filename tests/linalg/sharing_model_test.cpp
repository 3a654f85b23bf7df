// Random sequences of sharing operations on simple arrays, vectors and
// matrices, checked after every step against a plain model.
//
// The model knows nothing of strides or windows: it keeps the values of
// every block ever made and, for each object, the block it holds and the
// position in that block of each element it sees (row by row for a
// matrix). Every operation rewrites those lists by the library's sharing
// rules: windows and copied vectors or matrices see their source's block,
// copied arrays and size changes get a fresh one, equal sizes write through.
// After each step every object must show the model's values, hold a block
// exactly when the model says so, share a block with exactly the objects
// the model says, and report as many holders as the model counts.
#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "record_cuts.h"

namespace {

constexpr double kUnknown = std::numeric_limits<double>::quiet_NaN();

struct Model {
    struct View {
        int block = -1;
        int rows = 0, cols = 0;  // cols is 1 for arrays and vectors
        std::vector<int> at;     // block positions of the elements, row by row
    };
    std::vector<std::vector<double>> blocks;  // NaN: not initialised
    std::vector<View> views;

    // A fresh contiguous (row-major) block holding values.
    View Private(const std::vector<double>& values, int rows, int cols) {
        if (values.empty()) return View();
        blocks.push_back(values);
        View v{static_cast<int>(blocks.size()) - 1, rows, cols, {}};
        for (int k = 0; k < rows * cols; ++k) v.at.push_back(k);
        return v;
    }
    std::vector<double> Seen(const View& v) const {
        std::vector<double> out;
        for (int k : v.at) out.push_back(blocks[static_cast<std::size_t>(v.block)][static_cast<std::size_t>(k)]);
        return out;
    }
    int Holders(int block) const {
        int n = 0;
        for (const View& v : views) n += v.block == block;
        return n;
    }
    void Write(const View& v, int k, double x) {
        blocks[static_cast<std::size_t>(v.block)][static_cast<std::size_t>(v.at[static_cast<std::size_t>(k)])] = x;
    }
    // Whether writing dst from src could read an element already written:
    // the two see some common position, but not all at the same index.
    bool Overlap(const View& dst, const View& src) const {
        if (dst.block != src.block || dst.block < 0) return false;
        if (dst.at == src.at) return false;
        for (int a : dst.at)
            for (int b : src.at)
                if (a == b) return true;
        return false;
    }
};

// The three kinds of object, seen the same way by the checks.
std::vector<double> Shown(const qvArray<double>& a) { return std::vector<double>(a.begin(), a.end()); }
std::vector<double> Shown(const qvColumnVector<double>& v) { return cqvtest::Values(v); }
std::vector<double> Shown(const qvMatrix<double>& m) { return cqvtest::Elements(m); }
std::pair<int, int> ShapeOf(const qvArray<double>& a) { return {a.Len(), a.Len() > 0 ? 1 : 0}; }
std::pair<int, int> ShapeOf(const qvColumnVector<double>& v) { return {v.Len(), v.Len() > 0 ? 1 : 0}; }
std::pair<int, int> ShapeOf(const qvMatrix<double>& m) {
    return m.ColumnLen() * m.LineLen() > 0 ? std::make_pair(m.ColumnLen(), m.LineLen()) : std::make_pair(0, 0);
}

template <class X>
void ExpectMatches(const Model& model, const std::vector<std::unique_ptr<X>>& xs, const std::string& step) {
    for (std::size_t i = 0; i < xs.size(); ++i) {
        SCOPED_TRACE(step + ", object " + std::to_string(i));
        const X& x = *xs[i];
        const Model::View& v = model.views[i];
        ASSERT_EQ(x.GetMem() != nullptr, v.block >= 0);
        ASSERT_EQ(ShapeOf(x), v.block >= 0 ? std::make_pair(v.rows, v.cols) : std::make_pair(0, 0));
        const std::vector<double> shown = Shown(x), want = model.Seen(v);
        for (std::size_t k = 0; k < want.size(); ++k)
            if (!std::isnan(want[k])) {
                EXPECT_EQ(shown[k], want[k]) << "element " << k;
            }
        if (v.block < 0) continue;
        EXPECT_EQ(x.GetNumOfRef() + 1, model.Holders(v.block));
        for (std::size_t j = 0; j < i; ++j) {
            if (model.views[j].block >= 0) {
                EXPECT_EQ(x.GetMem() == xs[j]->GetMem(), model.views[j].block == v.block) << "and object " << j;
            }
        }
    }
}

struct Dice {
    std::mt19937 g;
    explicit Dice(unsigned seed) : g(seed) {}
    int Below(int n) { return static_cast<int>(g() % static_cast<unsigned>(n)); }
    int Between(int lo, int hi) { return lo + Below(hi - lo + 1); }
    double Value() { return Between(-99, 99) * 0.5; }
    std::vector<double> Values(int n) {
        std::vector<double> xs;
        for (int i = 0; i < n; ++i) xs.push_back(Value());
        return xs;
    }
};

constexpr int kObjects = 5;
constexpr int kSteps = 400;
const unsigned kSeeds[] = {1, 2, 3, 20261207, 4242};

// What one step works on: objects i and j, the model's view of i (to
// rewrite) and of j (as it was before the step).
template <class X>
struct Step {
    X& x;
    const X& y;
    Model& model;
    Model::View& v;
    const Model::View w;
    Dice& dice;
    bool same;  // i == j
};

// Assignment: equal sizes write through into what the target sees, other
// sizes give it a fresh block (or nothing, from an empty source).
template <class X>
void Assign(Step<X>& s) {
    if (s.model.Overlap(s.v, s.w) || s.same) return;
    s.x = s.y;
    if (s.w.block < 0) {
        if (s.v.block >= 0) s.v = Model::View();
    } else if (s.v.block >= 0 && s.v.rows == s.w.rows && s.v.cols == s.w.cols) {
        const std::vector<double> src = s.model.Seen(s.w);
        for (std::size_t k = 0; k < src.size(); ++k) s.model.Write(s.v, static_cast<int>(k), src[k]);
    } else {
        s.v = s.model.Private(s.model.Seen(s.w), s.w.rows, s.w.cols);
    }
}

// Regrow to n: a fresh block keeping the first elements, the new ones
// uninitialised; the same length changes nothing.
template <class X>
void Regrow(Step<X>& s) {
    const int n = s.dice.Between(0, 6);
    s.x.resize(n);
    if (n == (s.v.block < 0 ? 0 : s.v.rows)) return;
    std::vector<double> kept = s.v.block < 0 ? std::vector<double>() : s.model.Seen(s.v);
    kept.resize(static_cast<std::size_t>(n), kUnknown);
    s.v = s.model.Private(kept, n, 1);
}

// Reads into the object a record of size random values after the counts
// (the element count of the array or vector record, or rows and columns),
// checking the size the reader reports; returns the values.
template <class X>
std::vector<double> ReadRecord(Step<X>& s, const std::vector<int>& counts, int size, const std::string& what) {
    const std::vector<double> values = s.dice.Values(size);
    cqvtest::RecordBytes rec;
    for (int c : counts) rec.Int(c);
    for (double x : values) rec.Double(x);
    EXPECT_EQ(s.x.FromMem(rec.bytes.data()), rec.Size()) << what;
    return values;
}

// Runs kSteps random operations on kObjects objects for every seed. The
// operations all three kinds share are numbered 0 to 4; apply performs the
// kind's own operation op (numbered from 0) on both the library and the
// model.
template <class X, class Apply>
void RunModel(int own, Apply apply) {
    for (unsigned seed : kSeeds) {
        Dice dice(seed);
        Model model;
        model.views.resize(kObjects);
        std::vector<std::unique_ptr<X>> xs;
        for (int i = 0; i < kObjects; ++i) xs.push_back(std::make_unique<X>());
        for (int n = 0; n < kSteps; ++n) {
            const std::size_t i = static_cast<std::size_t>(dice.Below(kObjects));
            const std::size_t j = static_cast<std::size_t>(dice.Below(kObjects));
            const int op = dice.Below(5 + own);
            const std::string what = "seed " + std::to_string(seed) + " step " + std::to_string(n) + " op " +
                                     std::to_string(op) + " on " + std::to_string(i) + ", " + std::to_string(j);
            Step<X> s{*xs[i], *xs[j], model, model.views[i], model.views[j], dice, i == j};
            switch (op) {
                case 0:
                    // Copy construction, the one operation that replaces the
                    // object: a private copy for arrays, a window for the others.
                    xs[i] = std::make_unique<X>(*xs[j]);
                    model.views[i] = X::kCopyShares ? model.views[j]
                                                    : model.Private(model.Seen(model.views[j]), model.views[j].rows, 1);
                    break;
                case 1:
                    Assign(s);
                    break;
                case 2:  // release
                    s.x.Release();
                    s.v = Model::View();
                    break;
                case 3:  // one element written through the object, seen by every sharer
                    if (s.v.block >= 0) {
                        const int k = dice.Below(s.v.rows * s.v.cols);
                        const double value = dice.Value();
                        s.x.At(k, s.v.cols) = value;
                        model.Write(s.v, k, value);
                    }
                    break;
                case 4:  // Copy: private storage only when the block has other holders
                    s.x.Copy();
                    if (s.v.block >= 0 && model.Holders(s.v.block) > 1)
                        s.v = model.Private(model.Seen(s.v), s.v.rows, s.v.cols);
                    break;
                default:
                    apply(op - 5, s, what);
                    break;
            }
            ExpectMatches(model, xs, what);
            if (testing::Test::HasFatalFailure()) return;
        }
    }
}

// The three kinds, each with how it lets go of its storage and reaches
// element k of its row-major order.
// Arrays copy their elements on copy construction, vectors share them.
template <class Base, bool Shares>
struct Linear : Base {
    static constexpr bool kCopyShares = Shares;
    using Base::Base;
    using Base::operator=;
    void Release() { this->Clear(); }
    double& At(int k, int) { return (*this)[k]; }
};
using ArrayD = Linear<qvArray<double>, false>;
using VectorD = Linear<qvColumnVector<double>, true>;
struct MatrixD : qvMatrix<double> {
    static constexpr bool kCopyShares = true;
    using qvMatrix<double>::qvMatrix;
    using qvMatrix<double>::operator=;
    void Release() { Set(0, 0); }
    double& At(int k, int cols) { return (*this)(k / cols, k % cols); }
};

}  // namespace

TEST(SharingModel, SimpleArrays) {
    RunModel<ArrayD>(4, [](int op, Step<ArrayD>& s, const std::string& what) {
        switch (op) {
            case 0: {  // window on part of another array
                if (s.same || s.w.block < 0) break;
                const int start = s.dice.Below(s.w.rows), n = s.dice.Between(1, s.w.rows - start);
                s.x.SetSubWindow(s.y, start, n);
                s.v = s.w;
                s.v.at.assign(s.w.at.begin() + start, s.w.at.begin() + start + n);
                s.v.rows = n;
                break;
            }
            case 1:
                Regrow(s);
                break;
            case 2: {  // Set: a fresh block of copies
                const int n = s.dice.Between(1, 6);
                const double value = s.dice.Value();
                s.x.Set(n, value);
                s.v = s.model.Private(std::vector<double>(static_cast<std::size_t>(n), value), n, 1);
                break;
            }
            default: {  // record: the same length writes through
                const int n = s.dice.Between(0, 5);
                const std::vector<double> values = ReadRecord(s, {n}, n, what);
                if (n == (s.v.block < 0 ? 0 : s.v.rows)) {
                    for (int k = 0; k < n; ++k) s.model.Write(s.v, k, values[static_cast<std::size_t>(k)]);
                } else {
                    s.v = s.model.Private(values, n, 1);
                }
                break;
            }
        }
    });
}

TEST(SharingModel, Vectors) {
    RunModel<VectorD>(4, [](int op, Step<VectorD>& s, const std::string& what) {
        switch (op) {
            case 0: {  // window from one element with any stride inside the block
                if (s.w.block < 0) break;
                const int start = s.dice.Below(s.w.rows), step = s.dice.Between(-2, 3);
                const int first = s.w.at[static_cast<std::size_t>(start)];
                const int size = static_cast<int>(s.model.blocks[static_cast<std::size_t>(s.w.block)].size());
                const int room = step > 0 ? (size - 1 - first) / step + 1 : step < 0 ? first / -step + 1 : 4;
                const int n = s.dice.Between(1, std::min(room, 6));
                s.x.Set(s.y, start, n, step);
                s.v = Model::View{s.w.block, n, 1, {}};
                for (int k = 0; k < n; ++k) s.v.at.push_back(first + k * step);
                break;
            }
            case 1:
                Regrow(s);
                break;
            case 2: {  // Set, then every element written
                const int n = s.dice.Between(0, 6);
                const double value = s.dice.Value();
                s.x.Set(n);
                s.x.Fill(value);
                s.v = s.model.Private(std::vector<double>(static_cast<std::size_t>(n), value), n, 1);
                break;
            }
            default: {  // record: always a fresh block
                const int n = s.dice.Between(0, 5);
                s.v = s.model.Private(ReadRecord(s, {n}, n, what), n, 1);
                break;
            }
        }
    });
}

TEST(SharingModel, Matrices) {
    RunModel<MatrixD>(3, [](int op, Step<MatrixD>& s, const std::string& what) {
        switch (op) {
            case 0: {  // window on a sub-matrix
                if (s.w.block < 0) break;
                const int row = s.dice.Below(s.w.rows), col = s.dice.Below(s.w.cols);
                const int rows = s.dice.Between(1, s.w.rows - row), cols = s.dice.Between(1, s.w.cols - col);
                s.x.Set(s.y, row, col, rows, cols);
                s.v = Model::View{s.w.block, rows, cols, {}};
                for (int r = 0; r < rows; ++r)
                    for (int c = 0; c < cols; ++c)
                        s.v.at.push_back(s.w.at[static_cast<std::size_t>((row + r) * s.w.cols + col + c)]);
                break;
            }
            case 1: {  // Set, then every element written
                const int rows = s.dice.Between(1, 4), cols = s.dice.Between(1, 4);
                const std::vector<double> values = s.dice.Values(rows * cols);
                s.x.Set(rows, cols);
                for (int k = 0; k < rows * cols; ++k) s.x(k / cols, k % cols) = values[static_cast<std::size_t>(k)];
                s.v = s.model.Private(values, rows, cols);
                break;
            }
            default: {  // record: always a fresh block, empty for a zero size
                const int rows = s.dice.Between(0, 3), cols = s.dice.Between(0, 3);
                s.v = s.model.Private(ReadRecord(s, {rows, cols}, rows * cols, what), rows, cols);
                break;
            }
        }
    });
}
