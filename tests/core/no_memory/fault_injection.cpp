// The C runtime's allocation functions, replaced for the whole program (the
// library's calls bind to these, as the program's own definitions come
// first). Each passes on to the real one: glibc's own entry points, or
// AddressSanitizer's when the program is built with it, so that its leak and
// misuse checks still see every block.
#include "fault_injection.h"

#include <cstdio>

#if defined(__SANITIZE_ADDRESS__)
#define CQV_REAL(fn) __interceptor_##fn
#else
#define CQV_REAL(fn) __libc_##fn
#endif

extern "C" {
void* CQV_REAL(malloc)(std::size_t size);
void* CQV_REAL(calloc)(std::size_t n, std::size_t size);
void* CQV_REAL(realloc)(void* p, std::size_t size);
void CQV_REAL(free)(void* p);
}

namespace {

long g_failAt = 0;        // the allocation, counted from FailAt, that fails
long g_calls = 0;         // allocations since FailAt
bool g_failed = false;    // the armed failure happened
std::size_t g_refused = 0;
long g_live = 0;
long g_mallocs = 0;       // calls of malloc and calloc
long g_reallocs = 0;      // calls of realloc

// Counts an allocation; true when it is the one to fail.
bool Refuse(std::size_t size) {
    if (g_failAt == 0) return false;
    if (++g_calls != g_failAt) return false;
    g_failed = true;
    g_refused = size;
    return true;
}

}  // namespace

extern "C" void* malloc(std::size_t size) {
    ++g_mallocs;
    if (Refuse(size)) return nullptr;
    void* p = CQV_REAL(malloc)(size);
    if (p != nullptr) ++g_live;
    return p;
}

extern "C" void* calloc(std::size_t n, std::size_t size) {
    ++g_mallocs;
    if (Refuse(n * size)) return nullptr;
    void* p = CQV_REAL(calloc)(n, size);
    if (p != nullptr) ++g_live;
    return p;
}

extern "C" void* realloc(void* p, std::size_t size) {
    ++g_reallocs;
    if (Refuse(size)) return nullptr;
    void* q = CQV_REAL(realloc)(p, size);
    if (p == nullptr && q != nullptr) ++g_live;
    return q;
}

extern "C" void free(void* p) {
    if (p != nullptr) --g_live;
    CQV_REAL(free)(p);
}

namespace faults {

void FailAt(long n) {
    g_failAt = n;
    if (n == 0) return;  // what happened stays readable
    g_calls = 0;
    g_failed = false;
    g_refused = 0;
}

bool Failed() { return g_failed; }
std::size_t RefusedSize() { return g_refused; }
long Live() { return g_live; }
long Mallocs() { return g_mallocs; }
long Reallocs() { return g_reallocs; }

long& Pairs() {
    static long pairs = 0;
    return pairs;
}

long& Operations() {
    static long operations = 0;
    return operations;
}

namespace {

// Reports, after all tests, how much was exercised.
class Report : public ::testing::Environment {
public:
    void TearDown() override {
        std::printf("fault injection: %ld operations, %ld (operation, failure point) pairs\n", Operations(), Pairs());
    }
};

const ::testing::Environment* const g_report = ::testing::AddGlobalTestEnvironment(new Report);

}  // namespace

}  // namespace faults
