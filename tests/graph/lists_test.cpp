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
    static inline int alive = 0;
    int id;
    int keep;
    explicit Elem(int i = 0, int k = 0) : id(i), keep(k) { ++alive; }
    ~Elem() override { --alive; }
    int IsAllowDelete() const override { return keep ? 0 : 1; }
};

using E1 = Elem<qvList1kHead>;
using E2 = Elem<qvList2Head>;
using E2k = Elem<qvList2kHead>;
using Ints = std::vector<int>;
using graphtest::Ptrs;

// The ids of the list through x read from x to the end of a chain or back
// to x in a ring; a link that the next element does not return is written
// as -1 and ends the reading.
template <class Head>
Ints Ids(Head* x) {
    Ints ids;
    Head* p = x;
    do {
        ids.push_back(static_cast<Elem<Head>*>(p)->id);
        Head* n = p->Next();
        if constexpr (!std::is_same<Head, qvList1kHead>::value) {
            if (n != nullptr && n->Prev() != p) return ids.push_back(-1), ids;
        }
        p = n;
    } while (p != x && p != nullptr && ids.size() < 100);
    return ids;
}

// 1 when x is linked to nothing (a chain node) or to itself alone (a ring
// node).
int Lone(const qvList1kHead* x) { return x->Next() == x ? 1 : 0; }
int Lone(const qvList2Head* x) { return x->Next() == nullptr && x->Prev() == nullptr ? 1 : 0; }
int Lone(const qvList2kHead* x) { return x->Next() == x && x->Prev() == x ? 1 : 0; }

}  // namespace

// Insertion right after the head, taking out the next node, length, and
// assignment, which must find the node before in a singly linked ring. The
// elements refuse deletion, so the ring is simply taken apart at the end.
TEST(List1k, AddRemoveLenEqualityAndAssignment) {
    E1 a(1, 1), b(2, 1), c(3, 1);
    EXPECT_EQ(a.Remove(), &a);  // lone stays lone
    EXPECT_EQ(a.Len(), 1);
    a.Add(&b);
    EXPECT_EQ(a.Add(&c), &c);  // directly after a
    EXPECT_EQ(Ids<qvList1kHead>(&a), (Ints{1, 3, 2}));
    EXPECT_EQ((Ints{b.Len(), c != a, c == a}), (Ints{3, 1, 0}));  // next pointers differ

    static_cast<qvList1kHead&>(c) = qvList1kHead();  // c leaves; a and b stay a ring
    qvList1kHead& alias = b;
    alias = b;  // self-assignment changes nothing
    EXPECT_EQ(Ids<qvList1kHead>(&c), (Ints{3}));
    EXPECT_EQ(Ids<qvList1kHead>(&a), (Ints{1, 2}));
    EXPECT_EQ(qvList1kHead(a).Len(), 1);  // a copy is lone
}

// The same edits on a chain and on a ring: insertion on either side, moves
// between lists, adding a node next to itself, removal joining the
// neighbours, assignment, which unlinks, and copies, which stay lone. The
// elements refuse deletion, so each list is simply taken apart at the end.
template <class Head>
void EditDoublyLinkedLists() {
    Elem<Head> a(1, 1), b(2, 1), c(3, 1), x(7, 1), y(8, 1);
    a.AddAfter(&c);
    EXPECT_EQ(a.AddAfter(&b), &b);
    EXPECT_EQ(Ids<Head>(&a), (Ints{1, 2, 3}));
    x.AddBefore(&y);
    EXPECT_EQ(y.AddAfter(&b), &b);  // b leaves a's list for x's
    b.AddBefore(&b);                // no change
    b.AddAfter(&b);                 // no change
    EXPECT_EQ(Ids<Head>(&a), (Ints{1, 3}));
    EXPECT_EQ(Ids<Head>(&y), (Ints{8, 2, 7}));
    EXPECT_EQ(b.Remove(), &b);  // its neighbours join
    EXPECT_EQ(Ids<Head>(&y), (Ints{8, 7}));
    EXPECT_EQ(Lone(&b), 1);
    c.AddBefore(&b);
    static_cast<Head&>(c) = x;  // c leaves a b c
    Head& alias = a;
    alias = a;  // self-assignment changes nothing
    EXPECT_EQ(Ids<Head>(&a), (Ints{1, 2}));
    Head copy(x);
    EXPECT_EQ((Ints{Lone(&c), Lone(&copy)}), (Ints{1, 1}));
    EXPECT_EQ(Ids<Head>(&y), (Ints{8, 7}));
}

// The edits above on a chain and on a ring, and equality of lone nodes.
TEST(DoublyLinkedLists, ChainAndRingEditing) {
    EditDoublyLinkedLists<qvList2Head>();
    EditDoublyLinkedLists<qvList2kHead>();
    // Equality compares links: lone chain nodes (null links) are equal, lone
    // ring nodes (each linking to itself) are not.
    EXPECT_EQ((Ints{qvList2Head() == qvList2Head(), qvList2kHead() != qvList2kHead()}), (Ints{1, 1}));
}

// A heap list of n members built by link from its first, one of which
// refuses deletion: destroying the first deletes all the others but the
// refuser, which is left unlinked. The walk is iterative, so a list of a
// million members goes without deep recursion.
template <class E, class Link>
void DestructorKeepsOnlyTheRefuser(Link link, int n) {
    E::alive = 0;
    auto* head = new E(0);
    auto* kept = new E(-1, 1);
    link(head, kept);
    for (int i = 1; i < n - 1; ++i) link(head, new E(i));
    delete head;
    EXPECT_EQ(E::alive, 1) << n;
    EXPECT_EQ(Lone(kept), 1);
    delete kept;
}

// Every kind of list, of five members and of a million; in the chain the
// members lie on both sides of the destroyed one.
TEST(ListDestruction, FiveOrAMillionMembersAllGoButTheRefuser) {
    for (int n : {5, 1000000}) {
        DestructorKeepsOnlyTheRefuser<E1>([](E1* h, E1* m) { h->Add(m); }, n);
        DestructorKeepsOnlyTheRefuser<E2k>([](E2k* h, E2k* m) { h->AddBefore(m); }, n);
        DestructorKeepsOnlyTheRefuser<E2>([](E2* h, E2* m) { m->id % 2 ? h->AddAfter(m) : h->AddBefore(m); }, n);
    }
}

// The owner travels with copies and assignment; links never do.
TEST(InternalList2k, OwnerTravelsWithCopiesButLinksDoNot) {
    int owner1 = 0, owner2 = 0;
    qvInternalList2k none;
    qvInternalList2k a(&owner1), b(&owner2);
    a.AddAfter(&b);
    EXPECT_EQ(Ptrs(none.GetSelf(), b.Prev(), a.Next()->GetSelf()), Ptrs(nullptr, &a, &owner2));
    qvInternalList2k c(a);
    EXPECT_EQ(Ptrs(c.GetSelf(), c.Next()), Ptrs(&owner1, &c));
    EXPECT_EQ(&(b = none), &b);  // b leaves a's ring and takes none's owner
    EXPECT_EQ(Ptrs(b.GetSelf(), a.Next()), Ptrs(nullptr, &a));
}

// Entries are 0, 1, 2, ... in order, so the one k after the oldest is the
// number taken so far plus k. The queue grows to some 5500 entries, over
// several chunks, shrinks to nothing, and then grows to 9000, reusing its
// elements before it takes new ones: the order is kept, and reading ahead
// from the oldest meets the entries in order up to the newest.
// Get on an empty queue throws and changes nothing.
TEST(ListQueue, OrderAcrossManyChunksAndReuse) {
    qvListQueue<int> q;
    int put = 0, taken = 0;
    for (int round = 0; round < 5600; ++round) {
        if (!q.IsEmpty()) {
            qvListQueue<int>::Position p = q.Oldest();
            for (int k = 0; k < q.Len() && k < 9; ++k, p = p.Next()) ASSERT_EQ(*p, taken + k);
            ASSERT_EQ(*q.Newest(), put - 1);
        }
        for (int i = 0; i < (round % 7 == 0 ? 30 : 1) && !q.IsEmpty(); ++i) ASSERT_EQ(q.Get(), taken++);
        for (int i = 0; i < (round < 400 ? 15 : round == 3000 ? 9000 : 1); ++i) q.Put(put++);
    }
    while (!q.IsEmpty()) ASSERT_EQ(q.Get(), taken++);
    EXPECT_EQ(taken, put);
    CQV_EXPECT_BAD(q.Get(), "qvListQueue<T>::Get : Que is empty");
    EXPECT_EQ(q.Len(), 0);
    q.Put(5);
    EXPECT_EQ(q.Get(), 5);
    for (int i = 0; i < 1000; ++i) q.Put(i);  // destroyed while full
}
