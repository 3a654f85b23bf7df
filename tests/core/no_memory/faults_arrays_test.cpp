// Every allocating member of the arrays and strings, failed at each of its
// allocations in turn.
#include "fault_injection.h"

#include <string>
#include <vector>

namespace {

using faults::Bytes;
using faults::Exhaust;
using faults::ExhaustEach;
using SA = qvSimpleArray<double>;
using A = qvArray<double>;

SA Seq(int n) {
    SA a(n);
    for (int i = 0; i < n; ++i) a[i] = i + 1;
    return a;
}

A ArraySeq(int n, double from) {
    A a(n);
    for (int i = 0; i < n; ++i) a[i] = from + 3 * ((i * 7) % n);
    return a;
}

// Operands made before any failure is armed.
const SA kFour = Seq(4);
const SA kEight = Seq(8);
const SA kSix = Seq(6);
const A kSeven = ArraySeq(7, 0);
const qvString kMore(" and more");
const qvString kLonger("a longer text than before");
const qvString kSeparators(" ,");

std::string State(const SA& a) { return Bytes(a) + faults::Block(a); }

// One array and a second operand.
struct Two {
    A a = ArraySeq(5, 1);
    A b = ArraySeq(5, -4);
};
std::string TwoState(const Two& t) { return Bytes(t.a) + Bytes(t.b) + faults::Block(t.a) + faults::Block(t.b); }

// An array that shares its block with a window on it.
struct Shared {
    SA a = Seq(6);
    SA w;
    Shared() { w.SetSubWindow(a, 1, 3); }
};
std::string SharedState(const Shared& s) { return State(s.a) + State(s.w); }

}  // namespace

TEST(Faults, PlainArrays) {
    const auto seq4 = [] { return Seq(4); };
    ExhaustEach<SA>({{"SA(n)", [](SA&) { SA b(7); }},
                     {"SA(n, v)", [](SA&) { SA b(7, 2.5); }},
                     {"SA(copy)", [](SA& a) { SA b(a); }},
                     {"SA::resize grow", [](SA& a) { a.resize(12); }},
                     {"SA::resize shrink", [](SA& a) { a.resize(2); }},
                     {"SA::push_back", [](SA& a) { a.push_back(9); }},
                     {"SA::push_front", [](SA& a) { a.push_front(9); }},
                     {"SA::Insert", [](SA& a) { a.Insert(9, 2); }},
                     {"SA::insert", [](SA& a) { a.insert(a.begin() + 1, 9); }},
                     {"SA::Remove", [](SA& a) { a.Remove(1); }},
                     {"SA::erase", [](SA& a) { a.erase(a.begin()); }},
                     {"SA::RemoveLast", [](SA& a) { a.RemoveLast(); }},
                     {"SA::pop_front", [](SA& a) { a.pop_front(); }},
                     {"SA::Concat(self)", [](SA& a) { a.Concat(a); }},
                     {"SA::Replace", [](SA& a) { a.Replace(1, 2, kFour); }},
                     {"SA::CycleRightShift", [](SA& a) { a.CycleRightShift(2); }},
                     {"SA::CycleLeftShift", [](SA& a) { a.CycleLeftShift(1); }},
                     {"SA::Left", [](SA& a) { (void)a.Left(2); }},
                     {"SA::Right", [](SA& a) { (void)a.Right(2); }},
                     {"SA::Mid", [](SA& a) { (void)a.Mid(1, 3); }}},
                    seq4, State);
    // Members that take a fresh block of another size leave an empty array.
    ExhaustEach<SA>({{"SA::Set(n)", [](SA& a) { a.Set(9); }},
                     {"SA::Set(n, v)", [](SA& a) { a.Set(9, 1.0); }},
                     {"SA::Init", [](SA& a) { a.Init(9); }},
                     {"SA::operator=", [](SA& a) { a = kEight; }}},
                    seq4, State, faults::Emptied);
}

TEST(Faults, SharedArraysKeepTheirBlockAndWindows) {
    const auto shared = [] { return Shared(); };
    ExhaustEach<Shared>({{"window Copy", [](Shared& s) { s.w.Copy(); }},
                         {"shared Copy", [](Shared& s) { s.a.Copy(); }},
                         {"window push_back", [](Shared& s) { s.w.push_back(1); }},
                         {"window Remove", [](Shared& s) { s.w.Remove(0); }},
                         {"shared resize", [](Shared& s) { s.a.resize(3); }}},
                        shared, SharedState);
    // The window lets go of the shared block; the array keeps it.
    Exhaust("window operator= (other length)", shared, [](Shared& s) { s.w = s.a; }, SharedState,
            [](const Shared& s) {
                return faults::Emptied(s.w) && cqvtest::BlockCount(s.a.GetMem()) == 1 &&
                       std::vector<double>(s.a.begin(), s.a.end()) == std::vector<double>(kSix.begin(), kSix.end());
            });
}

TEST(Faults, ArrayArithmeticAndSearch) {
    ExhaustEach<Two>({{"A(copy)", [](Two& t) { A c(t.a); }},
                      {"A + A", [](Two& t) { (void)(t.a + t.b); }},
                      {"A - A", [](Two& t) { (void)(t.a - t.b); }},
                      {"A * A", [](Two& t) { (void)(t.a * t.b); }},
                      {"A / A", [](Two& t) { (void)(t.a / t.b); }},
                      {"A + v", [](Two& t) { (void)(t.a + 2.0); }},
                      {"A * v", [](Two& t) { (void)(t.a * 2.0); }},
                      {"A::Max(b)", [](Two& t) { (void)t.a.Max(t.b); }},
                      {"A::Min(b)", [](Two& t) { (void)t.a.Min(t.b); }},
                      {"A::GetNoPositive", [](Two& t) { (void)t.b.GetNoPositive(); }},
                      {"A::GetNoNegative", [](Two& t) { (void)t.b.GetNoNegative(); }},
                      {"A::Median", [](Two& t) { (void)t.b.Median(); }},
                      {"A::InsertIfNotExistB", [](Two& t) {
                           int found = 0;
                           t.a.InsertIfNotExistB(-1, found, 1);
                       }}},
                     [] { return Two(); }, TwoState);
    Exhaust("A::operator=", [] { return Two(); }, [](Two& t) { t.a = kSeven; }, TwoState,
            [](const Two& t) { return faults::Emptied(t.a) && Bytes(t.b) == Bytes(Two().b); });
}

TEST(Faults, ArrayRecordsAndGrids) {
    using G = qvSimpleArray2D<double>;
    std::string record = Bytes(ArraySeq(6, 2));
    unsigned char* p = reinterpret_cast<unsigned char*>(&record[0]);
    Exhaust("A::FromMem (new length)", [] { return ArraySeq(2, 0); }, [p](A& a) { a.FromMem(p); },
            [](const A& a) { return Bytes(a) + faults::Block(a); }, faults::Emptied);
    Exhaust("SA2D(x, y)", [] { return 0; }, [](int&) { G g(3, 4); }, [](int) { return std::string(); });
    Exhaust("SA2D copy", [] { return G(3, 4); }, [](G& g) { G h(g); }, [](const G& g) { return State(g); });
}

TEST(Faults, Strings) {
    using S = qvString;
    ExhaustEach<S>({{"S(const char*)", [](S&) { S t("lorem ipsum"); }},
                    {"S(const char*, n)", [](S&) { S t("lorem ipsum", 5); }},
                    {"S(copy)", [](S& s) { S t(s); }},
                    {"S::operator=", [](S& s) { s = kLonger; }},
                    {"S::GetUnion", [](S& s) { (void)s.GetUnion(s); }},
                    {"S::operator+=", [](S& s) { s += kMore; }},
                    {"S::Left", [](S& s) { (void)s.Left(3); }},
                    {"S::Right", [](S& s) { (void)s.Right(3); }},
                    {"S::Mid", [](S& s) { (void)s.Mid(2, 3); }},
                    {"S::GetCString", [](S& s) { (void)s.GetCString(); }},
                    {"S::Tokenize", [](S& s) {
                         qvSimpleArray<S> words;
                         s.Tokenize(words, kSeparators);
                     }},
                    {"S::GetToken", [](S& s) {
                         int pos = 0;
                         S token;
                         while (s.GetToken(pos, token) != S::TK_END) {
                         }
                     }}},
                   [] { return S("alpha, beta 12 \"quoted\" +"); },
                   [](const S& s) { return Bytes(s) + faults::Block(s); });
}
