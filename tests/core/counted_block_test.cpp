// The allocator, counted blocks, object reference counts and the
// reference-counted delete.
#include "cqv_test.h"

using cqvtest::BlockCount;
using cqvtest::BlockSizeWord;

TEST(Allocator, ReallocKeepsContentsAndFreeOfNullDoesNothing) {
    qvFree(nullptr);
    auto* p = static_cast<unsigned char*>(qvMalloc(4));
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>(i + 1);
    p = static_cast<unsigned char*>(qvRealloc(p, 1000));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(p[i], i + 1);
    qvFree(p);
}

TEST(CountedBlock, HeaderWordsAndTheReleaseRule) {
    double* one = qvNewWithRef<double>(1);
    EXPECT_EQ(BlockCount(one), 1);
    EXPECT_EQ(BlockSizeWord(one), -1);
    qvDeleteWithRef(one);
    CQV_EXPECT_BAD(qvNewWithRef<double>(0), "qvNewWithRef : n <= 0 ");
    CQV_EXPECT_BAD(qvNewWithRef<char>(-5), "qvNewWithRef : n <= 0 ");

    int* p = qvNewWithRef<int>(7);
    EXPECT_EQ(BlockSizeWord(p), -7);
    EXPECT_EQ(reinterpret_cast<char*>(p) - reinterpret_cast<char*>(&qvGetMemRef(p)), 8);
    qvIncMemRef(p);
    EXPECT_EQ(qvGetMemRef(p), 2);
    qvDeleteWithRef(p);  // one holder left
    EXPECT_EQ(qvGetMemRef(p), 1);
    qvGetMemRef(p) = 5;  // the count word is writable through the reference
    EXPECT_EQ(BlockCount(p), 5);
    qvGetMemRef(p) = 1;
    qvDeleteWithRef(p);  // freed: the sanitizer build would report a leak otherwise
    qvDeleteWithRef(static_cast<int*>(nullptr));
}

TEST(CountedBlock, DecMemRefNeverFreesAndReportsTheLastReference) {
    double* p = qvNewWithRef<double>(2);
    qvIncMemRef(p);
    qvDecMemRef(p);
    EXPECT_EQ(qvGetMemRef(p), 1);
    CQV_EXPECT_BAD(qvDecMemRef(p), "qvDecMemRef : Number of reference <= 0.");
    EXPECT_EQ(qvGetMemRef(p), 0);  // the decrement stands
    qvDeleteWithRef(p);            // count -1, freed
}

TEST(CountedBlock, UncountedBlocksAreRefusedByTheCountFunctionsAndFreedAtOnce) {
    // One word holding the element count (zero or more), then the elements.
    for (std::int32_t n : {3, 0}) {
        auto* raw = static_cast<std::int32_t*>(qvMalloc(4 + static_cast<unsigned>(n) * sizeof(double)));
        raw[0] = n;
        auto* p = reinterpret_cast<double*>(raw + 1);
        CQV_EXPECT_BAD(qvIncMemRef(p), "qvIncMemRef : memory must be allocated with qvNewWithRef.");
        CQV_EXPECT_BAD(qvGetMemRef(p), "qvIncMemRef : memory must be allocated with qvNewWithRef.");
        CQV_EXPECT_BAD(qvDecMemRef(p), "qvDecMemRef : memory must be allocated with qvNewWithRef.");
        EXPECT_EQ(raw[0], n);
        qvDeleteWithRef(p);
    }
}

namespace {

// An element type with a virtual destructor: blocks construct and destroy it.
struct Counted {
    static int constructed;
    static int destroyed;
    int value = 42;
    Counted() { ++constructed; }
    virtual ~Counted() { ++destroyed; }
};
int Counted::constructed = 0;
int Counted::destroyed = 0;

struct Probe : qvRefCount {
    static int alive;
    Probe() { ++alive; }
    ~Probe() override { --alive; }
};
int Probe::alive = 0;

struct Plain : qvUsingNew {
    static int alive;
    Plain() { ++alive; }
    ~Plain() override { --alive; }
};
int Plain::alive = 0;

}  // namespace

TEST(CountedBlock, ClassElementsAreBuiltAndDestroyedOnce) {
    Counted::constructed = Counted::destroyed = 0;
    Counted* p = qvNewWithRef<Counted>(4);
    EXPECT_EQ(Counted::constructed, 4);
    EXPECT_EQ(p[3].value, 42);
    qvIncMemRef(p);
    qvDeleteWithRef(p);
    EXPECT_EQ(Counted::destroyed, 0);
    qvDeleteWithRef(p);
    EXPECT_EQ(Counted::destroyed, 4);
    static_assert(!qvIsObjectElement<double>::value && !qvIsObjectElement<qvComplex>::value, "raw storage");
    static_assert(qvIsObjectElement<Counted>::value, "object storage");
}

TEST(UsingNew, IdentityOperationsAndDelete) {
    Plain a;
    const Probe r;
    EXPECT_EQ(a.GetThis(), static_cast<void*>(&a));
    EXPECT_EQ(a.GetType(), r.GetType());  // no class overrides the tag
    EXPECT_STREQ(r.GetTypeString(), "qvUsingNew");
    EXPECT_EQ(a.IncreaseRefCount(), 0);
    EXPECT_EQ(a.DecreaseRefCount(), 0);
    EXPECT_EQ(a.GetRefCount(), 0);
    EXPECT_EQ(a.IsAllowDelete(), 1);

    EXPECT_EQ(qvUsingNew::Delete(nullptr), 0);
    EXPECT_EQ(qvUsingNew::Delete(new Plain), 1);  // a plain object always goes
    EXPECT_EQ(Plain::alive, 1);
}

TEST(RefCount, CountsAndDeleteDecisions) {
    auto* never = new Probe;
    EXPECT_EQ(never->GetRefCount(), 0);
    EXPECT_EQ(never->IsAllowDelete(), 1);
    EXPECT_EQ(qvUsingNew::Delete(never), 1);  // count -1: deleted

    auto* once = new Probe;
    EXPECT_EQ(once->IncreaseRefCount(), 1);
    EXPECT_EQ(once->IsAllowDelete(), 0);
    EXPECT_EQ(qvUsingNew::Delete(once), 1);

    auto* twice = new Probe;
    twice->IncreaseRefCount();
    twice->IncreaseRefCount();
    EXPECT_EQ(qvUsingNew::Delete(twice), 0);
    EXPECT_EQ(Probe::alive, 1);
    EXPECT_EQ(twice->GetRefCount(), 1);
    EXPECT_EQ(qvUsingNew::Delete(twice), 1);
    EXPECT_EQ(Probe::alive, 0);

    // A copy starts at zero; assignment takes the count.
    Probe a;
    a.IncreaseRefCount();
    a.IncreaseRefCount();
    Probe b(a);
    EXPECT_EQ(b.GetRefCount(), 0);
    b = a;
    EXPECT_EQ(b.DecreaseRefCount(), 1);
}
