// A short tour of the cqv library: each section shows one part of it at work
// and prints what it computed.
#include <cqv/cqv.h>

#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <string>

#include "tour.h"

void Section(const char* title) { std::printf("\n== %s\n", title); }

std::string TourOutputPath(const char* file_name) {
    const char* dir = std::getenv("CQV_TOUR_OUT");
    std::string path = dir != nullptr && *dir != '\0' ? std::string(dir) + "/" : std::string();
    return path + file_name;
}

namespace {

template <class T>
void PrintInts(const char* label, const qvSimpleArray<T>& a) {
    std::printf("%-28s", label);
    for (int i = 0; i < a.Len(); ++i) std::printf(" %d", static_cast<int>(a[i]));
    std::printf("\n");
}

int RefCount(const qvPArray& a) { return a.GetNumOfRef() + 1; }

void Arrays() {
    Section("Simple arrays: counted storage, windows, editing");
    //! [arrays]
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
    //! [arrays]
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

template <class T>
void PrintReals(const char* label, const qvSimpleArray<T>& a) {
    std::printf("%-28s", label);
    for (int i = 0; i < a.Len(); ++i) std::printf(" %g", static_cast<double>(a[i]));
    std::printf("\n");
}

void ArithmeticArrays() {
    Section("Arithmetic arrays: element-wise operators, statistics, sorted insertion");
    qvArray<double> x(5), y(5, 0.5);
    const double values[] = {4, -1, 7, 2, 9};
    for (int i = 0; i < x.Len(); ++i) x[i] = values[i];
    PrintReals("x", x);
    PrintReals("x + y (y all 0.5)", x + y);
    PrintReals("x * 2", x * 2.0);
    std::printf("%-28s %g\n", "x.Sum()", x.Sum());
    std::printf("%-28s %g\n", "x.ScalarMul(x)", x.ScalarMul(x));
    std::printf("%-28s %g at %d, %g at %d\n", "x.Max(), x.Min()", x.Max(), x.MaxIndex(), x.Min(), x.MinIndex());
    PrintReals("x.GetNoNegative()", x.GetNoNegative());
    std::printf("%-28s %d\n", "x > -2 (every element)", x > -2.0);

    const double median = x.Median();
    std::printf("%-28s %g\n", "x.Median()", median);
    PrintReals("x after selection", x);

    qvArray<unsigned char> bytes(2);
    bytes[0] = 200;
    bytes[1] = 100;
    std::printf("%-28s %d (wraps as unsigned char)\n", "Sum of 200 and 100", bytes.Sum());

    qvArray<int> sorted;
    int found = 0;
    for (int v : {30, 10, 20, 10, 40}) {
        const int at = sorted.InsertIfNotExistB(v, found, 1);
        std::printf("insert %-2d %-18s at %d:", v, found ? "(already there)" : "", at);
        for (int i = 0; i < sorted.Len(); ++i) std::printf(" %d", sorted[i]);
        std::printf("\n");
    }
    std::printf("%-28s %d\n", "sorted.FindB(30, 1)", sorted.FindB(30, 1));

    unsigned char record[64];
    const int written = sorted.ToMem(record);
    qvArray<int> back;
    back.FromMem(record);
    std::printf("record of %d bytes reads back equal: %d\n", written, back == sorted);

    try {
        x + qvArray<double>(2, 1.0);
    } catch (const BadParameters& e) {
        std::printf("%-28s %s\n", "x + (2 elements) throws", e.GetMessageText());
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

void Strings() {
    Section("Strings: search, words and tokens");
    const qvString text("width = 2.5e-3 * n + \"unit\"");
    std::printf("text: %.*s\n", text.Len(), text.GetPointer());
    std::printf("Find('n') = %d, Find(\"n +\") = %d, Find('q') = %d\n", text.Find('n'), text.Find(qvString("n +")),
                text.Find('q'));

    qvSimpleArray<qvString> words;
    text.Tokenize(words, qvString(" =*+"));
    std::printf("%d words:", words.Len());
    for (const qvString& w : words) std::printf(" [%.*s]", w.Len(), w.GetPointer());
    std::printf("\n");

    static const char* const kinds[] = {"name", "integer", "real", "string", "char", "end"};
    qvString token;
    int pos = 0;
    for (qvString::TOKEN k = text.GetToken(pos, token); k != qvString::TK_END; k = text.GetToken(pos, token))
        std::printf("  %-8s %.*s\n", kinds[k], token.Len(), token.GetPointer());

    qvString joined = qvString("x") + qvString("y");
    joined += qvString("z");
    std::printf("\"x\" + \"y\" += \"z\" gives \"%s\" (length %d); \"xyz\" < \"xz\": %d\n", joined.GetCString(),
                joined.Len(), joined < qvString("xz"));
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

void PrintMatrix(const char* label, const qvMatrix<double>& m) {
    std::printf("%s\n", label);
    for (int i = 0; i < m.ColumnLen(); ++i) {
        std::printf("   ");
        for (int j = 0; j < m.LineLen(); ++j) std::printf(" %9.4f", m(i, j));
        std::printf("\n");
    }
}

void LinearAlgebra() {
    Section("Linear algebra: a system, an inverse, rotations");
    //! [linalg]
    // 4x + y = 9, x + 3y - z = 7, -y + 2z = 1.
    const double coefficients[9] = {4, 1, 0, 1, 3, -1, 0, -1, 2};
    qvMatrix<double> a(3, 3);
    for (int i = 0; i < 9; ++i) a(i / 3, i % 3) = coefficients[i];
    PrintMatrix("A", a);
    std::printf("det A = %g\n", a.Det());

    qvColumnVector<double> b(3), x;
    b[0] = 9;
    b[1] = 7;
    b[2] = 1;
    qvMatrix<double> work(a);  // a window: the solver works in place,
    work.Copy();               // so it gets a private copy
    work.SolveEquationGaussMethod(x, b);
    std::printf("solution of A x = (9, 7, 1): x = (%g, %g, %g)\n", x[0], x[1], x[2]);
    //! [linalg]
    const qvColumnVector<double> check = a * x;
    std::printf("A x = (%g, %g, %g)\n", check[0], check[1], check[2]);

    const qvMatrix<double> inv = a.Inverse();
    PrintMatrix("inverse of A", inv);
    PrintMatrix("A times its inverse", a * inv);

    qvColumnVector<double> column;
    a.GetColumn(column, 1);
    column[0] = 0;  // a column is a window: this writes into A
    std::printf("after writing through column 1: A(0,1) = %g\n", a(0, 1));

    qvMatrix2x2 turn;
    turn.SetTurn(qvVec2(1, 0), qvVec2(1, 1));
    const qvVec2 p = turn * qvVec2(2, 0);
    std::printf("(2, 0) turned by 45 degrees: (%.4f, %.4f)\n", p.X(), p.Y());

    qvTMatrix3x3<double> spin;
    spin.SetTurn(qvTVec3<double>(1, 0, 0), qvTVec3<double>(0, 0, 1));
    const qvTVec3<double> q = spin * qvTVec3<double>(1, 2, 0);
    std::printf("x axis turned onto z: (1, 2, 0) goes to (%.4f, %.4f, %.4f), det %.4f\n", q.X(), q.Y(), q.Z(),
                spin.Det());

    try {
        qvMatrix<double> singular(2, 2);
        singular.SetE();
        singular(1, 1) = 0;
        singular.Inverse();
    } catch (const BadParameters&) {
        std::printf("a singular matrix has no inverse: BadParameters thrown\n");
    }
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
    //! [graph]
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
    //! [graph]
    std::printf("a longest shortest route has %d stops:", len);
    for (qvList2kHead* p = path.Next(); p != &path; p = p->Next())
        std::printf(" %s", NameOf(static_cast<qvSimpleGraphNodeHead*>(static_cast<qvInternalList2k*>(p)->GetSelf())));
    std::printf("\n");
    std::printf("from the Docks (the one-way road leads in only): %d stops\n", town.GetMaxPath(stops[3], nullptr));
    std::printf("the Market is held %d times (creator, town, two roads)\n", stops[4]->GetRefCount());
    town.Remove(stops[1]);
    std::printf("without the Bridge the Airport's longest route has %d stop\n", town.GetMaxPath(stops[0], nullptr));
}

void NumericalMethods() {
    Section("Numerical methods: a tridiagonal system, a polynomial");
    //! [numeric]
    // -x[i-1] + 4x[i] - x[i+1] = 1 on five points.
    qvMatrix3Diag<double> a(5);
    a.Up().Fill(-1);
    a.Diag().Fill(4);
    a.Down().Fill(-1);
    qvColumnVector<double> f(5), x;
    f.Fill(1);
    a.SolveEquationChaserMethod(x, f);
    //! [numeric]
    std::printf("sweep on (-1, 4, -1) x = 1: x =");
    for (int i = 0; i < x.Len(); ++i) std::printf(" %.6f", x[i]);
    const qvColumnVector<double> back = a * x;
    std::printf("\nA x =");
    for (int i = 0; i < back.Len(); ++i) std::printf(" %.6f", back[i]);
    std::printf("\n");

    // The same matrix closed into a ring: corners (0, 4) and (4, 0) are -1,
    // so every unknown is 1/2.
    a.SolveEquationCycleChaserMethod(x, f, -1, -1);
    std::printf("cyclic sweep, corners -1: x = (%g, %g, %g, %g, %g)\n", x[0], x[1], x[2], x[3], x[4]);

    // p(x) = 2(x-1)^3 - (x-1) + 3, by powers of x - 1 and by its derivatives
    // at 1 (third, second, first, value: 12, 0, -1, 3).
    qvColumnVector<double> powers(4), taylor(4);
    const double pc[4] = {2, 0, -1, 3}, tc[4] = {12, 0, -1, 3};
    for (int i = 0; i < 4; ++i) {
        powers[i] = pc[i];
        taylor[i] = tc[i];
    }
    const qvPolynom<double> p(powers, 1, qvPolynom<double>::KoefPower);
    const qvPolynom<double> q(taylor, 1, qvPolynom<double>::KoefTaylor);
    for (double at : {0.0, 1.5, 3.0})
        std::printf("x = %.1f: p = %g, p' = %g, p'' = %g, p''' = %g; Taylor form: %g, %g, %g, %g\n", at, p(at),
                    p.Derivative(at, 1), p.Derivative(at, 2), p.Derivative(at, 3), q(at), q.Derivative(at, 1),
                    q.Derivative(at, 2), q.Derivative(at, 3));
}

}  // namespace

int main() {
    std::printf("cqv tour\n");
    Memory();
    Arrays();
    ArithmeticArrays();
    Complex();
    Strings();
    LinearAlgebra();
    Graph();
    NumericalMethods();
    AccurateSolvers();
    NDimensionalArrays();
    Geometry();
    Splines();
    BetaSplines();
    return 0;
}
