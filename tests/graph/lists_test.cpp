// Intrusive lists: ring and chain invariants, moves between lists, equality,
// assignment to linked nodes, and the ownership rule of the destructors.
#include "cqv_test.h"

#include <vector>

#include "cqv/graph/list_queue_internal.h"

namespace {

// A heap list element that counts the live ones; Keep makes it refuse
// deletion by its neighbours.
template <class Head>
struct Elem : Head {
    static int alive;
    int id;
    int keep;
    explicit Elem(int i = 0, int k = 0) : id(i), keep(k) { ++alive; }
    ~Elem() override { --alive; }
    int IsAllowDelete() const override { return keep ? 0 : 1; }
};
template <class Head>
int Elem<Head>::alive = 0;

using E1 = Elem<qvList1kHead>;
using E2 = Elem<qvList2Head>;
using E2k = Elem<qvList2kHead>;

// The ids of a ring read from x onwards.
template <class Head>
std::vector<int> Ids(Head* x) {
    std::vector<int> ids;
    Head* p = x;
    do {
        ids.push_back(static_cast<Elem<Head>*>(p)->id);
        p = p->Next();
    } while (p != x && ids.size() < 100);
    return ids;
}

// A 2k ring from x: next and prev agree everywhere and the walk closes.
::testing::AssertionResult RingOk(const qvList2kHead* x) {
    const qvList2kHead* p = x;
    for (int steps = 0; steps < 1000; ++steps) {
        if (p->Next()->Prev() != p) return ::testing::AssertionFailure() << "next->prev broken at step " << steps;
        p = p->Next();
        if (p == x) return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << "ring does not close";
}

// A 2 chain through x: links agree and both ends are null.
::testing::AssertionResult ChainOk(const qvList2Head* x) {
    const qvList2Head* first = x;
    int steps = 0;
    while (first->Prev() != nullptr && ++steps < 1000) first = first->Prev();
    for (const qvList2Head* p = first; p != nullptr; p = p->Next()) {
        if (p->Next() != nullptr && p->Next()->Prev() != p) return ::testing::AssertionFailure() << "next->prev broken";
        if (++steps > 2000) return ::testing::AssertionFailure() << "chain does not end";
    }
    return ::testing::AssertionSuccess();
}

}  // namespace

TEST(List1k, AddRemoveLenEqualityAndAssignment) {
    qvList1kHead a, b, c;
    EXPECT_EQ(a.Len(), 1);
    EXPECT_EQ(a.Remove(), &a);  // lone stays lone
    EXPECT_EQ(a.Next(), &a);
    a.Add(&b);
    EXPECT_EQ(a.Add(&c), &c);  // directly after a: a c b
    EXPECT_EQ(c.Next(), &b);
    EXPECT_EQ(b.Next(), &a);
    EXPECT_EQ(b.Len(), 3);
    EXPECT_TRUE(c != a);  // next pointers differ

    qvList1kHead src;
    c = src;  // c leaves; a and b stay a ring
    EXPECT_EQ(c.Next(), &c);
    EXPECT_EQ(a.Next(), &b);
    const qvList1kHead& alias = b;
    b = alias;  // self-assignment changes nothing
    EXPECT_EQ(b.Next(), &a);
    qvList1kHead copy(a);  // a copy is lone
    EXPECT_EQ(copy.Len(), 1);
    EXPECT_EQ(a.Remove(), &b);
    EXPECT_EQ(b.Len(), 1);
}

TEST(List2, ChainEditing) {
    qvList2Head a, b, c, x;
    EXPECT_TRUE(a == b);  // both links null
    a.AddAfter(&c);
    a.AddAfter(&b);  // a b c
    EXPECT_EQ(a.Next(), &b);
    EXPECT_EQ(c.Prev(), &b);
    EXPECT_EQ(b.Remove(), &b);  // the ends join
    EXPECT_EQ(a.Next(), &c);
    EXPECT_EQ(c.Prev(), &a);
    EXPECT_TRUE(b == x);  // null links again
    c.AddBefore(&b);      // a b c again
    b.AddAfter(&b);       // adding a node next to itself changes nothing
    EXPECT_EQ(b.Prev(), &a);
    EXPECT_EQ(b.Next(), &c);

    x.AddBefore(&a);  // a moves into another chain, closing its gap
    EXPECT_EQ(b.Prev(), nullptr);
    EXPECT_EQ(a.Next(), &x);
    EXPECT_TRUE(ChainOk(&x));
    EXPECT_TRUE(ChainOk(&c));
    b = x;  // assignment takes b out of its chain
    EXPECT_EQ(c.Prev(), nullptr);
    a.Remove();
}

TEST(List2, DestructorDeletesBothSides) {
    E2::alive = 0;
    auto* a = new E2(1);
    auto* mid = new E2(2);
    auto* kept = new E2(3, 1);
    mid->AddBefore(a);
    mid->AddAfter(new E2(4));
    a->AddBefore(kept);  // kept a mid 4
    delete mid;
    EXPECT_EQ(E2::alive, 1);
    EXPECT_EQ(kept->Next(), nullptr);
    delete kept;
    EXPECT_EQ(E2::alive, 0);
}

TEST(List2k, RingEditingAndMovesBetweenRings) {
    E2k a(1), b(2), c(3), x(7), y(8);
    EXPECT_TRUE(a != b);  // lone nodes link to themselves
    a.AddAfter(&c);
    a.AddAfter(&b);
    EXPECT_EQ(Ids<qvList2kHead>(&a), (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(a.Prev(), &c);
    EXPECT_TRUE(RingOk(&a));

    x.AddBefore(&y);
    x.AddAfter(&b);  // b leaves a's ring for x's
    EXPECT_EQ(Ids<qvList2kHead>(&a), (std::vector<int>{1, 3}));
    EXPECT_EQ(Ids<qvList2kHead>(&x), (std::vector<int>{7, 2, 8}));
    EXPECT_TRUE(RingOk(&a));
    EXPECT_TRUE(RingOk(&x));

    b.AddBefore(&b);  // no change
    EXPECT_TRUE(RingOk(&x));
    EXPECT_EQ(b.Remove(), &b);
    EXPECT_EQ(b.Next(), &b);
    EXPECT_EQ(b.Prev(), &b);

    c = b;  // assignment takes c out of a's ring
    EXPECT_EQ(a.Next(), &a);
    EXPECT_EQ(c.Next(), &c);
    E2k copy(x);  // links are never copied
    EXPECT_EQ(copy.Next(), &copy);
    EXPECT_EQ(Ids<qvList2kHead>(&x), (std::vector<int>{7, 8}));
    x.Remove();
}

// Destroying the first member of a heap ring of five, one of which refuses
// deletion, deletes the other three and leaves the refuser lone.
template <class E, class Link>
void RingDestructorKeepsOnlyTheRefuser(Link link) {
    E::alive = 0;
    auto* head = new E(0);
    auto* kept = new E(9, 1);
    link(head, kept);
    for (int i = 1; i <= 3; ++i) link(head, new E(i));
    EXPECT_EQ(E::alive, 5);
    delete head;
    EXPECT_EQ(E::alive, 1);
    EXPECT_EQ(kept->Next(), kept);
    delete kept;
    EXPECT_EQ(E::alive, 0);
}

TEST(ListDestruction, RingsDeleteDeletableMembersAndUnlinkTheRest) {
    RingDestructorKeepsOnlyTheRefuser<E1>([](E1* h, E1* n) { h->Add(n); });
    RingDestructorKeepsOnlyTheRefuser<E2k>([](E2k* h, E2k* n) { h->AddBefore(n); });
}

TEST(InternalList2k, OwnerTravelsWithCopiesButLinksDoNot) {
    int owner1 = 0, owner2 = 0;
    qvInternalList2k none;
    EXPECT_EQ(none.GetSelf(), nullptr);
    qvInternalList2k a(&owner1), b(&owner2);
    a.AddAfter(&b);
    EXPECT_EQ(a.Next(), &b);
    EXPECT_EQ(b.Prev(), &a);
    EXPECT_EQ(static_cast<int*>(a.Next()->GetSelf()), &owner2);

    qvInternalList2k c(a);
    EXPECT_EQ(c.GetSelf(), &owner1);
    EXPECT_EQ(c.Next(), &c);

    EXPECT_EQ(&(b = none), &b);  // b leaves a's ring and takes none's owner
    EXPECT_EQ(b.GetSelf(), nullptr);
    EXPECT_EQ(a.Next(), &a);
    b.SetSelf(&owner1);
    EXPECT_EQ(b.GetSelf(), &owner1);
}

TEST(ListDestruction, MillionNodeListsGoWithoutRecursion) {
    const int n = 1000000;
    E2k::alive = 0;
    auto* ring = new E2k(0);
    for (int i = 1; i < n; ++i) ring->AddBefore(new E2k(i));
    EXPECT_EQ(E2k::alive, n);
    delete ring->Next()->Next();  // any member takes the whole ring
    EXPECT_EQ(E2k::alive, 0);

    E1::alive = 0;
    auto* single = new E1(0);
    for (int i = 1; i < n; ++i) single->Add(new E1(i));
    EXPECT_EQ(single->Len(), n);
    delete single;
    EXPECT_EQ(E1::alive, 0);

    E2::alive = 0;
    auto* chain = new E2(0);
    qvList2Head* end = chain;
    for (int i = 1; i < n; ++i) end = end->AddAfter(new E2(i));
    delete chain->Next()->Next();  // a middle node takes both sides
    EXPECT_EQ(E2::alive, 0);
}

TEST(ListQueue, FirstInFirstOutAcrossManyChunks) {
    qvListQueue<int> q;
    EXPECT_TRUE(q.IsEmpty());
    CQV_EXPECT_BAD(q.Get(), "qvListQueue<T>::Get : Que is empty");
    // Interleaved puts and gets, with the queue growing past several chunks
    // and shrinking again, keep the order.
    int next = 0, expect = 0;
    for (int round = 0; round < 50; ++round) {
        for (int i = 0; i < 400; ++i) q.Put(next++);
        for (int i = 0; i < 300; ++i) ASSERT_EQ(q.Get(), expect++);
    }
    EXPECT_EQ(q.Len(), next - expect);
    while (!q.IsEmpty()) ASSERT_EQ(q.Get(), expect++);
    EXPECT_EQ(expect, next);
    CQV_EXPECT_BAD(q.Get(), "qvListQueue<T>::Get : Que is empty");
    EXPECT_EQ(q.Len(), 0);  // the failed Get changed nothing
    q.Put(5);
    EXPECT_EQ(q.Get(), 5);
    for (int i = 0; i < 1000; ++i) q.Put(i);  // destroyed while full
}

TEST(ListQueue, ScoutsFollowTheEntryAFixedDistanceAhead) {
    // Entries are 0, 1, 2, ... in order, so the one k after the oldest is
    // the number taken so far plus k.
    qvListQueue<int> q;
    qvListQueue<int>::Scout near, far;
    int put = 0, taken = 0;
    for (; put < 10; ++put) q.Put(put);
    EXPECT_EQ(q.Ahead(far, 10), nullptr);  // the queue is not that long
    // Puts, one or several gets between looks, and element reuse: the
    // scouts stay exact, and fall back to the oldest when overtaken.
    for (int round = 0; round < 400; ++round) {
        for (int k : {3, 8}) {
            const int* e = q.Ahead(k == 3 ? near : far, k);
            if (q.Len() > k) {
                ASSERT_NE(e, nullptr);
                ASSERT_EQ(*e, taken + k);
            } else {
                ASSERT_EQ(e, nullptr);
            }
        }
        const int gets = round % 7 == 0 ? 9 : 1;
        for (int i = 0; i < gets && !q.IsEmpty(); ++i) ASSERT_EQ(q.Get(), taken++);
        for (int i = 0; i < (round % 7 == 0 ? 1 : 2); ++i) q.Put(put++);
    }
}
