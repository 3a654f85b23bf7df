// Intrusive lists: ring and chain invariants, moves between lists, equality,
// assignment to linked nodes, and the ownership rule of the destructors.
#include "graph_test_support.h"

#include <type_traits>
#include <vector>

#include "cqv/graph/list_queue_internal.h"

namespace {

// A list element that counts the live ones; keep makes it refuse deletion
// by its neighbours.
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
using Ints = std::vector<int>;
using graphtest::Ptrs;

// The ids of the ring through x read from x on, or of the chain through x
// read from its first element on; a link that the next element does not
// return is written as -1 and ends the reading.
template <class Head>
Ints Ids(Head* x) {
    Ints ids;
    Head* p = x;
    if constexpr (std::is_same<Head, qvList2Head>::value)
        while (p->Prev() != nullptr && ids.size() < 100) p = p->Prev();
    const Head* first = p;
    do {
        ids.push_back(static_cast<Elem<Head>*>(p)->id);
        Head* n = p->Next();
        if constexpr (!std::is_same<Head, qvList1kHead>::value) {
            if (n != nullptr && n->Prev() != p) return ids.push_back(-1), ids;
        }
        p = n;
    } while (p != first && p != nullptr && ids.size() < 100);
    return ids;
}

}  // namespace

TEST(List1k, AddRemoveLenEqualityAndAssignment) {
    E1 a(1), b(2), c(3);
    EXPECT_EQ(a.Len(), 1);
    EXPECT_EQ(a.Remove(), &a);  // lone stays lone
    EXPECT_EQ(a.Next(), &a);
    a.Add(&b);
    EXPECT_EQ(a.Add(&c), &c);  // directly after a
    EXPECT_EQ(Ids<qvList1kHead>(&a), (Ints{1, 3, 2}));
    EXPECT_EQ(b.Len(), 3);
    EXPECT_TRUE(c != a);  // next pointers differ

    static_cast<qvList1kHead&>(c) = qvList1kHead();  // c leaves; a and b stay a ring
    EXPECT_EQ(Ids<qvList1kHead>(&c), (Ints{3}));
    EXPECT_EQ(Ids<qvList1kHead>(&a), (Ints{1, 2}));
    qvList1kHead& alias = b;
    alias = b;  // self-assignment changes nothing
    EXPECT_EQ(b.Next(), &a);
    EXPECT_EQ(qvList1kHead(a).Len(), 1);  // a copy is lone
    EXPECT_EQ(a.Remove(), &b);
    EXPECT_EQ(b.Len(), 1);
}

TEST(List2, ChainEditing) {
    qvList2Head a, b, c, x;
    EXPECT_TRUE(a == b);  // both links null
    a.AddAfter(&c);
    a.AddAfter(&b);  // a b c
    EXPECT_EQ(Ptrs(a.Next(), c.Prev()), Ptrs(&b, &b));
    EXPECT_EQ(b.Remove(), &b);  // the ends join
    EXPECT_EQ(Ptrs(a.Next(), c.Prev()), Ptrs(&c, &a));
    EXPECT_TRUE(b == x);  // null links again
    c.AddBefore(&b);      // a b c again
    b.AddAfter(&b);       // adding a node next to itself changes nothing
    EXPECT_EQ(Ptrs(b.Prev(), b.Next()), Ptrs(&a, &c));
    x.AddBefore(&a);  // a moves into another chain, closing its gap
    EXPECT_EQ(Ptrs(b.Prev(), a.Next(), x.Prev()), Ptrs(nullptr, &x, &a));
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
    a->AddBefore(kept);
    EXPECT_EQ(Ids<qvList2Head>(mid), (Ints{3, 1, 2, 4}));
    delete mid;
    EXPECT_EQ(E2::alive, 1);
    EXPECT_EQ(kept->Next(), nullptr);
    delete kept;
}

TEST(List2k, RingEditingAndMovesBetweenRings) {
    E2k a(1), b(2), c(3), x(7), y(8);
    EXPECT_TRUE(a != b);  // lone nodes link to themselves
    a.AddAfter(&c);
    a.AddAfter(&b);
    EXPECT_EQ(Ids<qvList2kHead>(&a), (Ints{1, 2, 3}));
    x.AddBefore(&y);
    x.AddAfter(&b);  // b leaves a's ring for x's
    EXPECT_EQ(Ids<qvList2kHead>(&a), (Ints{1, 3}));
    EXPECT_EQ(Ids<qvList2kHead>(&x), (Ints{7, 2, 8}));
    b.AddBefore(&b);  // no change
    EXPECT_EQ(Ids<qvList2kHead>(&x), (Ints{7, 2, 8}));
    EXPECT_EQ(b.Remove(), &b);
    EXPECT_EQ(Ptrs(b.Next(), b.Prev()), Ptrs(&b, &b));
    c = b;  // assignment takes c out of a's ring
    EXPECT_EQ(Ids<qvList2kHead>(&a), (Ints{1}));
    EXPECT_EQ(c.Next(), &c);
    E2k copy(x);  // links are never copied
    EXPECT_EQ(Ids<qvList2kHead>(&copy), (Ints{7}));
    EXPECT_EQ(Ids<qvList2kHead>(&x), (Ints{7, 8}));
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
    delete head;
    EXPECT_EQ(E::alive, 1);
    EXPECT_EQ(kept->Next(), kept);
    delete kept;
}

TEST(ListDestruction, RingsDeleteDeletableMembersAndUnlinkTheRest) {
    RingDestructorKeepsOnlyTheRefuser<E1>([](E1* h, E1* n) { h->Add(n); });
    RingDestructorKeepsOnlyTheRefuser<E2k>([](E2k* h, E2k* n) { h->AddBefore(n); });
}

TEST(ListDestruction, MillionNodeListsGoWithoutRecursion) {
    const int n = 1000000;
    E2k::alive = 0;
    auto* ring = new E2k(0);
    for (int i = 1; i < n; ++i) ring->AddBefore(new E2k(i));
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

TEST(InternalList2k, OwnerTravelsWithCopiesButLinksDoNot) {
    int owner1 = 0, owner2 = 0;
    qvInternalList2k none;
    EXPECT_EQ(none.GetSelf(), nullptr);
    qvInternalList2k a(&owner1), b(&owner2);
    a.AddAfter(&b);
    EXPECT_EQ(Ptrs(b.Prev(), a.Next()->GetSelf()), Ptrs(&a, &owner2));
    qvInternalList2k c(a);
    EXPECT_EQ(Ptrs(c.GetSelf(), c.Next()), Ptrs(&owner1, &c));
    EXPECT_EQ(&(b = none), &b);  // b leaves a's ring and takes none's owner
    EXPECT_EQ(Ptrs(b.GetSelf(), a.Next()), Ptrs(nullptr, &a));
}

TEST(ListQueue, FirstInFirstOutAcrossManyChunks) {
    qvListQueue<int> q;
    EXPECT_TRUE(q.IsEmpty());
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
