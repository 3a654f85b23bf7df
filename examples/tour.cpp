// A short tour of the cqv library: each section shows one part of it at work
// and prints what it computed.
#include <cqv/cqv.h>

#include <cstdio>

namespace {

void Section(const char* title) { std::printf("\n== %s\n", title); }

template <class T>
void PrintInts(const char* label, const qvSimpleArray<T>& a) {
    std::printf("%-28s", label);
    for (int i = 0; i < a.Len(); ++i) std::printf(" %d", static_cast<int>(a[i]));
    std::printf("\n");
}

int RefCount(const qvPArray& a) { return a.GetNumOfRef() + 1; }

void Arrays() {
    Section("Simple arrays: counted storage, windows, editing");
    qvSimpleArray<int> a(5);
    for (int i = 0; i < a.Len(); ++i) a[i] = i + 1;
    PrintInts("a", a);

    qvSimpleArray<int> w;
    w.SetSubWindow(a, 1, 3);
    w[0] = 20;
    PrintInts("window on a[1..3], w[0]=20", w);
    PrintInts("a sees the write", a);
    std::printf("%-28s %d\n", "holders of a's block", RefCount(a));

    w.push_back(99);
    PrintInts("w after push_back", w);
    std::printf("%-28s %d (the window grew into its own block)\n", "holders of a's block", RefCount(a));

    a.CycleRightShift(2);
    PrintInts("a rotated right by 2", a);
    a.InverseOrder();
    PrintInts("a reversed", a);
    PrintInts("a.Mid(1, 3)", a.Mid(1, 3));

    try {
        a.Left(0);
    } catch (const BadParameters& e) {
        std::printf("%-28s %s\n", "a.Left(0) throws", e.GetMessageText());
    }
}

void Complex() {
    Section("Complex numbers");
    const qvComplex x(1, 2), y(3, 4);
    const qvComplex p = x * y, q = x / y;
    std::printf("(1+2i)(3+4i) = %g%+gi\n", p.re, p.im);
    std::printf("(1+2i)/(3+4i) = %g%+gi\n", q.re, q.im);
    std::printf("|3+4i| = %g; (3+4i) <= 5: %d (ordered by modulus)\n", qvAbs(y), y <= qvComplex(5));

    unsigned char record[16];
    const int written = qvToMem(record, q);
    qvComplex back;
    qvFromMem(record, back);
    std::printf("record of %d bytes reads back as %g%+gi\n", written, back.re, back.im);
}

void Memory() {
    Section("Counted blocks, reference counts and errors");
    double* block = qvNewWithRef<double>(4);
    qvIncMemRef(block);
    std::printf("block of 4 doubles held twice: count %d\n", qvGetMemRef(block));
    qvDeleteWithRef(block);
    qvDeleteWithRef(block);
    std::printf("released twice: freed\n");

    try {
        qvNewWithRef<int>(0);
    } catch (const qvExceptionWithMessage& e) {
        std::printf("qvNewWithRef<int>(0) throws: \"%s\"\n", e.GetMessageText());
    }
    std::printf("element types: %s (code %d), %s (code %d), %s\n", qvType<double>::GetValueTypeName(),
                qvType<double>::GetTypeCode(), qvType<short>::GetValueTypeName(), qvType<short>::GetTypeCode(),
                qvType<qvComplex>::GetValueTypeName());
}

// A town map: stops are nodes, roads are branches, one of them one-way.
struct Stop : qvSimpleGraphNodeHead {
    const char* name;
    explicit Stop(const char* n) : name(n) {}
};

const char* NameOf(qvSimpleGraphNodeHead* n) { return static_cast<Stop*>(n)->name; }

// The wave's callback: enters each stop once and prints the step.
int Enter(qvSimpleGraphNodeHead* from, qvSimpleGraphNodeHead* to, qvSimpleGraphBranchHead*, void* data) {
    auto* entered = static_cast<qvSimpleArray<char>*>(data);
    for (int i = 0; i < entered->Len(); ++i) {
        if ((*entered)[i] == NameOf(to)[0]) return 0;
    }
    entered->push_back(NameOf(to)[0]);
    std::printf("  %s -> %s\n", NameOf(from), NameOf(to));
    return 1;
}

void Graph() {
    Section("Graph: breadth-first wave and the longest shortest path");
    qvSimpleGraph town;
    const char* names[] = {"Airport", "Bridge", "Castle", "Docks", "Market", "Harbour"};
    Stop* stops[6];
    for (int i = 0; i < 6; ++i) {
        stops[i] = new Stop(names[i]);
        town.Add(stops[i]);
    }
    // Market -> Docks is one-way.
    const int roads[][3] = {{0, 1, 0}, {1, 2, 0}, {1, 4, 0}, {2, 3, 0}, {4, 3, 1}, {3, 5, 0}};
    for (const auto& r : roads) town.Add(new qvSimpleGraphBranchHead(stops[r[0]], stops[r[1]], r[2]));

    std::printf("wave from the Airport:\n");
    qvSimpleArray<char> entered;
    entered.push_back('A');
    town.Wave(stops[0], Enter, &entered);
    std::printf("the Docks were reached from the %s\n", NameOf(stops[3]->GetBack()->GetBack()));

    qvList2kHead path;
    const int len = town.GetMaxPath(&path);
    std::printf("a longest shortest route has %d stops:", len);
    for (qvList2kHead* p = path.Next(); p != &path; p = p->Next())
        std::printf(" %s", NameOf(static_cast<qvSimpleGraphNodeHead*>(static_cast<qvInternalList2k*>(p)->GetSelf())));
    std::printf("\n");
    std::printf("from the Docks (the one-way road leads in only): %d stops\n", town.GetMaxPath(stops[3], nullptr));
    std::printf("the Market is held %d times (creator, town, two roads)\n", stops[4]->GetRefCount());
    town.Remove(stops[1]);
    std::printf("without the Bridge the Airport's longest route has %d stop\n", town.GetMaxPath(stops[0], nullptr));
}

}  // namespace

int main() {
    std::printf("cqv tour\n");
    Memory();
    Arrays();
    Complex();
    Graph();
    return 0;
}
