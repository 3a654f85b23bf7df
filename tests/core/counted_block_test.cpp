// The allocator, counted blocks, object reference counts and the
// reference-counted delete.
#include "cqv_test.h"

#include <vector>

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
    // A count word of 1 and a size word of minus the element count, just
    // before the elements.
    CQV_EXPECT_BAD(qvNewWithRef<double>(0), "qvNewWithRef : n <= 0 ");
    int* p = qvNewWithRef<int>(7);
    EXPECT_EQ(std::vector<int>({BlockCount(p), BlockSizeWord(p)}), std::vector<int>({1, -7}));
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

TEST(CountedBlock, HoldingTakingOverAndReleasingABlock) {
    double* block = qvNewWithRef<double>(2);
    void* mem = nullptr;
    qvDetail::HoldBlock<double>(mem, block);
    qvDetail::HoldBlock<double>(mem, block);  // already held: no second reference
    EXPECT_EQ(qvGetMemRef(block), 2);

    // A block that is not counted is refused before anything changes.
    auto* raw = static_cast<std::int32_t*>(qvMalloc(4 + sizeof(double)));
    raw[0] = 1;
    CQV_EXPECT_BAD(qvDetail::HoldBlock<double>(mem, raw + 1),
                   "qvIncMemRef : memory must be allocated with qvNewWithRef.");
    EXPECT_EQ(std::vector<const void*>({mem, block}), std::vector<const void*>({block, block}));
    qvFree(raw);

    // Taking over a second holder's reference to the same block drops one.
    void* other = nullptr;
    qvDetail::HoldBlock<double>(other, block);
    qvDetail::TakeBlock<double>(mem, other);
    EXPECT_EQ(std::vector<const void*>({mem, other}), std::vector<const void*>({block, nullptr}));
    EXPECT_EQ(qvGetMemRef(block), 2);
    qvDetail::ReleaseBlock<double>(mem);
    EXPECT_EQ(std::vector<const void*>({mem}), std::vector<const void*>({nullptr}));
    EXPECT_EQ(qvGetMemRef(block), 1);
    qvDetail::HoldBlock<double>(mem, nullptr);  // holds nothing: nothing to release
    qvDeleteWithRef(block);
}

namespace {

// An object of the base class B counting the live ones.
template <class B>
struct Alive : B {
    static int alive;
    Alive() { ++alive; }
    ~Alive() override { --alive; }
};
template <class B>
int Alive<B>::alive = 0;
using Probe = Alive<qvRefCount>;
using Plain = Alive<qvUsingNew>;

}  // namespace

// Class types with a virtual destructor are built and destroyed in their
// blocks (counted in the object array tests); numbers, complex numbers and
// plane vectors are raw storage.
static_assert(!qvIsObjectElement<double>::value && !qvIsObjectElement<qvComplex>::value, "raw storage");
static_assert(!qvIsObjectElement<qvVec2>::value, "raw storage");
static_assert(qvIsObjectElement<Probe>::value && qvIsObjectElement<qvPolynom<double>>::value, "object storage");

TEST(UsingNew, IdentityOperationsAndDelete) {
    Plain a;
    const Probe r;
    EXPECT_EQ(a.GetThis(), static_cast<void*>(&a));
    EXPECT_EQ(a.GetType(), r.GetType());  // no class overrides the tag
    EXPECT_STREQ(r.GetTypeString(), "qvUsingNew");
    // A plain object counts nothing and may always be deleted.
    EXPECT_EQ(std::vector<int>({a.IncreaseRefCount(), a.DecreaseRefCount(), a.GetRefCount(), a.IsAllowDelete()}),
              std::vector<int>({0, 0, 0, 1}));

    EXPECT_EQ(qvUsingNew::Delete(nullptr), 0);
    EXPECT_EQ(qvUsingNew::Delete(new Plain), 1);  // a plain object always goes
    EXPECT_EQ(Plain::alive, 1);
}

TEST(RefCount, CountsAndDeleteDecisions) {
    auto* never = new Probe;
    EXPECT_EQ(std::vector<int>({never->GetRefCount(), never->IsAllowDelete()}), std::vector<int>({0, 1}));
    EXPECT_EQ(qvUsingNew::Delete(never), 1);  // count -1: deleted

    // Two holders: the first Delete only counts down, the last deletes.
    auto* twice = new Probe;
    EXPECT_EQ(std::vector<int>({twice->IncreaseRefCount(), twice->IncreaseRefCount(), twice->IsAllowDelete()}),
              std::vector<int>({1, 2, 0}));
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
