// Exhausted memory, made real. This program replaces the C runtime's malloc
// and realloc with versions that can be told to fail, so the library's own
// allocations really return null, and counts what is allocated and freed so
// that a failed operation can be shown to leak nothing.
#include "cqv_test.h"

#include <cstddef>
#include <new>
#include <string>
#include <vector>

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_realloc(void* p, std::size_t size);
void __libc_free(void* p);
}

namespace {

int g_failIn = -1;  // allocations let through before one fails; -1: none fails
long g_live = 0;    // allocations made minus frees
long g_mallocs = 0;       // calls of malloc
long g_reallocs = 0;      // calls of realloc

bool ShouldFail() {
    if (g_failIn < 0) return false;
    return g_failIn-- == 0;
}

}  // namespace

extern "C" void* malloc(std::size_t size) {
    ++g_mallocs;
    if (ShouldFail()) return nullptr;
    void* p = __libc_malloc(size);
    if (p != nullptr) ++g_live;
    return p;
}

extern "C" void* realloc(void* p, std::size_t size) {
    ++g_reallocs;
    if (ShouldFail()) return nullptr;
    void* q = __libc_realloc(p, size);
    if (p == nullptr && q != nullptr) ++g_live;
    return q;
}

extern "C" void free(void* p) {
    if (p != nullptr) --g_live;
    __libc_free(p);
}

namespace {

// Makes an allocation fail: the next one, or the one after skip others.
struct FailNext {
    explicit FailNext(int skip = 0) { g_failIn = skip; }
    ~FailNext() { g_failIn = -1; }
};

// Runs f with its first allocation failing: the size the qvErrNoMemory
// reported, or -1 when nothing was thrown. The message is checked as well.
template <class F>
long FailedSize(F f) {
    try {
        FailNext fail;
        f();
    } catch (const qvErrNoMemory& e) {
        EXPECT_EQ(std::string(e.GetMessageText()), "be not sufficient " + std::to_string(e.GetSize()) + " byte");
        return static_cast<long>(e.GetSize());
    }
    return -1;
}

}  // namespace

TEST(NoMemory, FailuresCarryTheRequestedSize) {
    EXPECT_EQ(FailedSize([] { qvMalloc(100); }), 100);
    EXPECT_EQ(FailedSize([] { qvNewWithRef<double>(10); }), 88);  // 10 doubles and the two header words
    struct Node : qvRefCount {};
    EXPECT_EQ(FailedSize([] { delete new Node; }), static_cast<long>(sizeof(Node)));  // the library allocator

    void* p = qvMalloc(16);
    static_cast<char*>(p)[0] = 'k';
    EXPECT_EQ(FailedSize([&p] { p = qvRealloc(p, 4096); }), 4096);
    EXPECT_EQ(static_cast<char*>(p)[0], 'k');  // the old block stays
    qvFree(p);
}

// Every array operation that allocates, failed at its allocation: the array
// keeps its old contents and nothing leaks.
TEST(NoMemory, FailedArrayGrowthLeavesTheArrayIntactAndLeaksNothing) {
    using Op = void (*)(qvSimpleArray<double>&);
    const Op ops[] = {
        [](qvSimpleArray<double>& a) { a.push_back(9.0); },
        [](qvSimpleArray<double>& a) { a.push_front(9.0); },
        [](qvSimpleArray<double>& a) { a.Insert(9.0, 1); },
        [](qvSimpleArray<double>& a) { a.Remove(1); },
        [](qvSimpleArray<double>& a) { a.resize(10); },
        [](qvSimpleArray<double>& a) { a.Concat(a); },
        [](qvSimpleArray<double>& a) { a.CycleRightShift(1); },
        [](qvSimpleArray<double>& a) { (void)a.Mid(1, 2); },
    };
    for (Op op : ops) {
        // Four doubles and the header fill their allocation exactly, so
        // growth in place must ask for more.
        qvSimpleArray<double> a(4);
        for (int i = 0; i < 4; ++i) a[i] = i + 1;
        const long before = g_live;
        EXPECT_GT(FailedSize([&] { op(a); }), 0);
        EXPECT_EQ(g_live, before);
        EXPECT_EQ(std::vector<double>(a.begin(), a.end()), (std::vector<double>{1, 2, 3, 4}));
        EXPECT_EQ(cqvtest::BlockCount(a.GetMem()), 1);
    }
}

TEST(NoMemory, FailedReallocationOnAssignmentLeavesAnEmptyArray) {
    qvSimpleArray<double> a(3, 1.0);
    const qvSimpleArray<double> b(5, 2.0);
    const long before = g_live;
    EXPECT_EQ(FailedSize([&] { a = b; }), 48);
    EXPECT_EQ(a.Len(), 0);
    EXPECT_EQ(a.GetPointer(), nullptr);
    EXPECT_EQ(a.GetMem(), nullptr);
    EXPECT_EQ(g_live, before - 1);  // the old block was released first
}

// A block of numbers that one array or vector alone holds and sees whole
// grows and shrinks at its end through realloc (or not at all, where the
// allocation already has room for the growth); any other storage takes a
// fresh block from malloc. A failed realloc leaves the object as it was.
TEST(NoMemory, SoleBlocksResizeByReallocOthersTakeAFreshBlock) {
    struct Calls {
        long mallocs, reallocs;
        bool operator==(const Calls& c) const { return mallocs == c.mallocs && reallocs == c.reallocs; }
    };
    const auto calls = [](auto&& f) {
        const long m = g_mallocs, r = g_reallocs;
        f();
        return Calls{g_mallocs - m, g_reallocs - r};
    };
    qvSimpleArray<double> a(3, 1.0);
    const Calls grown = calls([&] {
        for (int i = 0; i < 100; ++i) a.push_back(2.0);
        a.Insert(3.0, 1);
    });
    EXPECT_EQ(grown.mallocs, 0);
    EXPECT_GT(grown.reallocs, 0);
    EXPECT_TRUE(calls([&] { a.pop_back(); }) == (Calls{0, 1}));
    {
        qvSimpleArray<double> window;
        window.SetSubWindow(a, 0, 2);
        EXPECT_TRUE(calls([&] { a.push_back(4.0); }) == (Calls{1, 0}));  // shared
        EXPECT_TRUE(calls([&] { window.push_back(4.0); }) == (Calls{1, 0}));
    }
    qvColumnVector<double> v(2);
    EXPECT_EQ(calls([&] {
                  for (int i = 0; i < 100; ++i) v.push_back(1.0);
              }).mallocs,
              0);
    qvColumnVector<double> strided;
    strided.Set(v, 0, 2, 2);
    v.Clear();  // strided alone holds the block, but not all of it in order
    EXPECT_TRUE(calls([&] { strided.push_back(1.0); }) == (Calls{1, 0}));

    // Failed growth in place: 5 doubles and the header asked for, nothing
    // changed, nothing leaked.
    qvSimpleArray<double> b(4, 7.0);
    double* before = b.GetPointer();
    const long live = g_live;
    EXPECT_EQ(FailedSize([&] { b.push_back(8.0); }), 48);
    EXPECT_EQ(std::vector<double>(b.begin(), b.end()), std::vector<double>(4, 7.0));
    EXPECT_EQ((std::vector<int>{cqvtest::BlockCount(b.GetMem()), cqvtest::BlockSizeWord(b.GetMem())}),
              (std::vector<int>{1, -4}));
    EXPECT_EQ(b.GetPointer(), before);
    EXPECT_EQ(g_live, live);
    qvColumnVector<double> w(4);
    w.Fill(7.0);
    const long withVector = g_live;
    EXPECT_EQ(FailedSize([&] { w.Insert(8.0, 2); }), 48);
    EXPECT_EQ(cqvtest::Values(w), std::vector<double>(4, 7.0));
    EXPECT_EQ(g_live, withVector);
}

// Every constructor that takes several blocks, failed at each of its
// allocations in turn: the blocks made before the failure are freed, so the
// count of live allocations is back where it was. The loop ends at the first
// attempt that no longer fails, which must come after at least two
// allocations.
TEST(NoMemory, ConstructorsFailingAtAnyAllocationLeaveNoBlockBehind) {
    const qvFCTT tables(4);
    qvSimpleArray<qvColumnVector<double>> points(5);
    for (int i = 0; i < 5; ++i) {
        points[i].Set(2);
        points[i][0] = i;
        points[i][1] = i * i;
    }
    const qvSpline<double> spline(points);
    qvArray<int> range(3);
    range[0] = 2;
    range[1] = 3;
    range[2] = 4;
    const struct {
        const char* name;
        void (*make)(const void* arg);
        const void* arg;
    } cases[] = {
        {"qvFCTT(int)", [](const void*) { qvFCTT t(4); }, nullptr},
        {"qvFCTT copy", [](const void* a) { qvFCTT t(*static_cast<const qvFCTT*>(a)); }, &tables},
        {"qvFCTTC(int)", [](const void*) { qvFCTTC t(4); }, nullptr},
        {"qvMatrix3Diag(int)", [](const void*) { qvMatrix3Diag<double> m(5); }, nullptr},
        {"qvSpline(points)",
         [](const void* a) { qvSpline<double> s(*static_cast<const qvSimpleArray<qvColumnVector<double>>*>(a)); },
         &points},
        {"qvSpline copy", [](const void* a) { qvSpline<double> s(*static_cast<const qvSpline<double>*>(a)); }, &spline},
        {"qvArrayND(range)", [](const void* a) { qvArrayND<double> n(*static_cast<const qvArray<int>*>(a)); }, &range},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int skip = 0;
        for (bool failed = true; failed && skip < 1000; ++skip) {
            const long before = g_live;
            failed = false;
            try {
                FailNext fail(skip);
                c.make(c.arg);
            } catch (const qvErrNoMemory&) {
                failed = true;
            } catch (const std::bad_alloc&) {
                failed = true;
            }
            EXPECT_EQ(g_live, before) << "failing allocation " << skip;
        }
        EXPECT_GT(skip, 2);  // at least two allocations were failed in turn
    }
}
