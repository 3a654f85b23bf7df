// Exhausted memory, made real (see fault_injection.h): single failures of
// the allocator's entry points and of array growth.
#include "fault_injection.h"

#include <string>
#include <vector>

namespace {

// Makes the next allocation fail.
struct FailNext {
    FailNext() { faults::FailAt(1); }
    ~FailNext() { faults::FailAt(0); }
};

// Runs f with its first allocation failing: the size the qvErrNoMemory
// reported, or -1 when nothing was thrown. The message is checked as well.
template <class F>
long FailedSize(F f) {
    try {
        FailNext fail;
        f();
    } catch (const qvErrNoMemory& e) {
        EXPECT_EQ(std::string(e.GetMessageText()), faults::NoMemoryText(e));
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

// An assignment that needs a block of another size lets go of the old one
// first: failing, the array is left empty and the old block freed.
TEST(NoMemory, FailedReallocationOnAssignmentLeavesAnEmptyArray) {
    qvSimpleArray<double> a(3, 1.0);
    const qvSimpleArray<double> b(5, 2.0);
    const long before = faults::Live();
    EXPECT_EQ(FailedSize([&] { a = b; }), 48);
    EXPECT_EQ(a.Len(), 0);
    EXPECT_TRUE(faults::Emptied(a));
    EXPECT_EQ(faults::Live(), before - 1);
}

// A block of numbers that one array or vector alone holds and sees whole
// grows and shrinks at its end through realloc (or not at all, where the
// allocation already has room for the growth); any other storage takes a
// fresh block from malloc. (That a failed realloc leaves the object as it
// was is checked for every growing member by the Faults tests.)
TEST(NoMemory, SoleBlocksResizeByReallocOthersTakeAFreshBlock) {
    struct Calls {
        long mallocs, reallocs;
        bool operator==(const Calls& c) const { return mallocs == c.mallocs && reallocs == c.reallocs; }
    };
    const auto calls = [](auto&& f) {
        const long m = faults::Mallocs(), r = faults::Reallocs();
        f();
        return Calls{faults::Mallocs() - m, faults::Reallocs() - r};
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
    const Calls vectorGrown = calls([&] {
        for (int i = 0; i < 100; ++i) v.push_back(1.0);
    });
    EXPECT_EQ(vectorGrown.mallocs, 0);
    qvColumnVector<double> strided;
    strided.Set(v, 0, 2, 2);
    v.Clear();  // strided alone holds the block, but not all of it in order
    EXPECT_TRUE(calls([&] { strided.push_back(1.0); }) == (Calls{1, 0}));
}
