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
        qvSimpleArray<double> a(3);
        a[0] = 1;
        a[1] = 2;
        a[2] = 3;
        const long before = faults::Live();
        EXPECT_GT(FailedSize([&] { op(a); }), 0);
        EXPECT_EQ(faults::Live(), before);
        EXPECT_EQ(std::vector<double>(a.begin(), a.end()), (std::vector<double>{1, 2, 3}));
        EXPECT_EQ(cqvtest::BlockCount(a.GetMem()), 1);
    }
}

TEST(NoMemory, FailedReallocationOnAssignmentLeavesAnEmptyArray) {
    qvSimpleArray<double> a(3, 1.0);
    const qvSimpleArray<double> b(5, 2.0);
    const long before = faults::Live();
    EXPECT_EQ(FailedSize([&] { a = b; }), 48);
    EXPECT_EQ(a.Len(), 0);
    EXPECT_EQ(a.GetPointer(), nullptr);
    EXPECT_EQ(a.GetMem(), nullptr);
    EXPECT_EQ(faults::Live(), before - 1);  // the old block was released first
}
