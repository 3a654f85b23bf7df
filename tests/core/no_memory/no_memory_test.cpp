// Exhausted memory, made real. This program replaces the C runtime's malloc
// and realloc with versions that can be told to fail, so the library's own
// allocations really return null, and counts what is allocated and freed so
// that a failed operation can be shown to leak nothing.
#include "cqv_test.h"

#include <cstddef>

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_realloc(void* p, std::size_t size);
void __libc_free(void* p);
}

namespace {

// Allocations still to succeed before the next one fails; negative: never.
long g_succeedBeforeFailure = -1;
long g_live = 0;  // allocations made minus frees, while counting

bool ShouldFail() {
    if (g_succeedBeforeFailure < 0) return false;
    if (g_succeedBeforeFailure == 0) {
        g_succeedBeforeFailure = -1;  // fail once
        return true;
    }
    --g_succeedBeforeFailure;
    return false;
}

}  // namespace

extern "C" void* malloc(std::size_t size) {
    if (ShouldFail()) return nullptr;
    void* p = __libc_malloc(size);
    if (p != nullptr) ++g_live;
    return p;
}

extern "C" void* realloc(void* p, std::size_t size) {
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

// Makes the allocation after `succeed` successful ones fail.
struct FailAfter {
    explicit FailAfter(long succeed) { g_succeedBeforeFailure = succeed; }
    ~FailAfter() { g_succeedBeforeFailure = -1; }
};

}  // namespace

TEST(NoMemory, MallocFailureCarriesTheRequestedSize) {
    bool thrown = false;
    try {
        FailAfter fail(0);
        qvMalloc(100);
    } catch (const qvErrNoMemory& e) {
        thrown = true;
        EXPECT_EQ(e.GetSize(), 100u);
        EXPECT_STREQ(e.GetMessageText(), "be not sufficient 100 byte");
    }
    EXPECT_TRUE(thrown);
}

TEST(NoMemory, ReallocFailureKeepsTheOldBlock) {
    void* p = qvMalloc(16);
    static_cast<char*>(p)[0] = 'k';
    bool thrown = false;
    try {
        FailAfter fail(0);
        p = qvRealloc(p, 4096);
    } catch (const qvErrNoMemory& e) {
        thrown = true;
        EXPECT_EQ(e.GetSize(), 4096u);
    }
    EXPECT_TRUE(thrown);
    EXPECT_EQ(static_cast<char*>(p)[0], 'k');
    qvFree(p);
}

TEST(NoMemory, CountedBlockReportsHeaderAndElements) {
    bool thrown = false;
    try {
        FailAfter fail(0);
        qvNewWithRef<double>(10);
    } catch (const qvErrNoMemory& e) {
        thrown = true;
        EXPECT_EQ(e.GetSize(), 88u);  // 10 doubles and the two header words
    }
    EXPECT_TRUE(thrown);
}

TEST(NoMemory, LibraryObjectsComeFromTheFailingAllocator) {
    struct Node : qvRefCount {};
    bool thrown = false;
    try {
        FailAfter fail(0);
        delete new Node;
    } catch (const qvErrNoMemory& e) {
        thrown = true;
        EXPECT_EQ(e.GetSize(), sizeof(Node));
    }
    EXPECT_TRUE(thrown);
}

// Every array operation that allocates, failed at each of its allocations
// in turn: the array keeps its old contents and nothing leaks.
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
        const long before = g_live;
        bool thrown = false;
        try {
            FailAfter fail(0);
            op(a);
        } catch (const qvErrNoMemory&) {
            thrown = true;
        }
        EXPECT_TRUE(thrown);
        EXPECT_EQ(g_live, before);
        ASSERT_EQ(a.Len(), 3);
        EXPECT_EQ(a[0], 1);
        EXPECT_EQ(a[1], 2);
        EXPECT_EQ(a[2], 3);
        EXPECT_EQ(cqvtest::BlockCount(a.GetMem()), 1);
    }
}

TEST(NoMemory, FailedReallocationOnAssignmentLeavesAnEmptyArray) {
    qvSimpleArray<double> a(3, 1.0);
    const qvSimpleArray<double> b(5, 2.0);
    const long before = g_live;
    bool thrown = false;
    try {
        FailAfter fail(0);
        a = b;
    } catch (const qvErrNoMemory&) {
        thrown = true;
    }
    EXPECT_TRUE(thrown);
    EXPECT_EQ(a.Len(), 0);
    EXPECT_EQ(a.GetPointer(), nullptr);
    EXPECT_EQ(a.GetMem(), nullptr);
    EXPECT_EQ(g_live, before - 1);  // the old block was released first
}
