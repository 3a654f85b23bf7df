// Allocation failure on demand. The program replaces the C runtime's
// malloc, calloc, realloc and free (fault_injection.cpp) with versions that
// count what is allocated and freed and can be told to fail the n-th
// allocation from now, so that the library's own allocations really return
// null. Exhaust() runs an operation with its first, second, ... allocation
// failing until it succeeds, and checks each failure: qvErrNoMemory carrying
// the size of the request that failed, the objects as they were (or in the
// state the member documents), and nothing leaked.
#ifndef CQV_TESTS_CORE_NO_MEMORY_FAULT_INJECTION_H
#define CQV_TESTS_CORE_NO_MEMORY_FAULT_INJECTION_H

#include "cqv_test.h"

#include <cstddef>
#include <cstring>
#include <initializer_list>
#include <string>
#include <type_traits>

namespace faults {

// The n-th allocation from now fails (n >= 1); 0 disarms, keeping what
// Calls, Failed and RefusedSize report.
void FailAt(long n);
// Whether the armed failure happened, and the size that was refused.
bool Failed();
std::size_t RefusedSize();
// Live allocations: blocks allocated minus blocks freed.
long Live();
// Calls of malloc (and calloc) and of realloc so far, failed ones included.
long Mallocs();
long Reallocs();

// (operation, failure point) pairs exercised so far, and operations.
long& Pairs();
long& Operations();

// The bytes that stand for an object's state.
template <class T>
auto Bytes(const T& x) -> decltype(x.ToMem(nullptr), std::string()) {
    std::string b(static_cast<std::size_t>(x.MemSize()), '\0');
    x.ToMem(reinterpret_cast<unsigned char*>(&b[0]));
    return b;
}

// The elements of a plain array, with its length and block (an array's
// storage must not change under a failed operation either).
template <class T>
std::string Bytes(const qvSimpleArray<T>& a) {
    static_assert(std::is_trivially_copyable<T>::value, "plain elements only");
    std::string b = std::to_string(a.Len()) + ':' + std::to_string(reinterpret_cast<std::uintptr_t>(a.GetPointer()));
    if (a.Len() > 0)
        b.append(reinterpret_cast<const char*>(a.GetPointer()), sizeof(T) * static_cast<std::size_t>(a.Len()));
    return b;
}

// The block of a counted container, its reference count and its size word:
// a failed operation keeps all three.
inline std::string Block(const qvPArray& a) {
    const void* mem = a.GetMem();
    if (mem == nullptr) return "none";
    return std::to_string(reinterpret_cast<std::uintptr_t>(mem)) + '/' + std::to_string(cqvtest::BlockCount(mem)) +
           '/' + std::to_string(cqvtest::BlockSizeWord(mem));
}

// The text of a qvErrNoMemory: the size it was refused.
inline std::string NoMemoryText(const qvErrNoMemory& e) {
    return "be not sufficient " + std::to_string(e.GetSize()) + " byte";
}

// Runs op on a fresh fixture from make() with its first, second, ...
// allocation failing, until op succeeds. Each failure must throw
// qvErrNoMemory carrying the refused size; state(fixture) must then equal
// state before op, unless documented(fixture) accepts the state the member
// documents after a failure (by default none: the fixture must be as it
// was); and the fixture, once destroyed, must leave no allocation behind.
// (Unchanged is that default.)
struct Unchanged {
    template <class F>
    bool operator()(const F&) const {
        return false;
    }
};
template <class Make, class Op, class State, class Documented = Unchanged>
void Exhaust(const std::string& name, Make make, Op op, State state, Documented documented = {}) {
    ++Operations();
    const ::testing::TestResult* result = ::testing::UnitTest::GetInstance()->current_test_info()->result();
    for (long n = 1;; ++n) {
        const long live = Live();
        const int reports = result->total_part_count();
        bool finished = false;
        {
            auto f = make();
            const std::string before = state(f);
            FailAt(n);
            try {
                op(f);
                const bool failed = Failed();
                FailAt(0);
                EXPECT_FALSE(failed) << name << ": allocation " << n << " failed and was not reported";
                finished = true;
            } catch (const qvErrNoMemory& e) {
                const bool failed = Failed();
                FailAt(0);
                ++Pairs();
                EXPECT_TRUE(failed) << name << ": qvErrNoMemory without a failed allocation";
                EXPECT_EQ(e.GetSize(), RefusedSize()) << name << ", allocation " << n;
                EXPECT_EQ(std::string(e.GetMessageText()), NoMemoryText(e)) << name;
                if (state(f) != before) {
                    EXPECT_TRUE(documented(f)) << name << ": changed by failed allocation " << n;
                }
            } catch (const qvExceptionWithMessage& e) {
                FailAt(0);
                ADD_FAILURE() << name << ": allocation " << n << " failing threw " << e.GetMessageText();
                finished = true;
            } catch (...) {
                FailAt(0);
                ADD_FAILURE() << name << ": allocation " << n << " failing threw something else";
                finished = true;
            }
        }
        // (A failure reported above holds memory of its own.)
        if (result->total_part_count() == reports) {
            EXPECT_EQ(Live(), live) << name << ": leaked after failed allocation " << n;
        }
        if (finished || n > 10000) return;
    }
}

// The documented state of an array whose fresh block could not be had.
inline bool Emptied(const qvPArray& a) { return a.GetMem() == nullptr && a.Pointer() == nullptr; }

// A named operation on a fixture of type F.
template <class F>
struct Named {
    const char* name;
    void (*op)(F&);
};

// Exhaust for every operation of a table, each on a fresh fixture.
template <class F, class Make, class State, class Documented = Unchanged>
void ExhaustEach(std::initializer_list<Named<F>> ops, Make make, State state, Documented documented = {}) {
    for (const Named<F>& o : ops) Exhaust(o.name, make, o.op, state, documented);
}

}  // namespace faults

#endif  // CQV_TESTS_CORE_NO_MEMORY_FAULT_INJECTION_H
