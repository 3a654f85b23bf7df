// A client of the installed library. It also replaces the global operator
// new, as client programs may, and checks that the library neither takes
// over the client's operators nor uses them for its own storage.
#include <cqv/cqv.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <new>

static long g_clientNews = 0;

void* operator new(std::size_t size) {
    ++g_clientNews;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }

static int Fail(const char* what) {
    std::printf("consumer: FAILED: %s\n", what);
    return 1;
}

int main() {
    int* mine = new int(5);
    delete mine;
    if (g_clientNews != 1) return Fail("the client's operator new was not used for the client's new");

    const long before = g_clientNews;
    qvSimpleArray<double> a(1000, 1.5);
    a.push_back(2.5);
    qvSimpleArray<double> w;
    w.SetSubWindow(a, 10, 5);
    if (g_clientNews != before) return Fail("the library allocated through the client's operator new");

    double sum = 0;
    for (int i = 0; i < a.Len(); ++i) sum += a[i];
    if (sum != 1502.5 || w.GetNumOfRef() != 1) return Fail("wrong array results");

    try {
        a.Left(0);
        return Fail("no exception");
    } catch (const BadParameters& e) {
        if (std::string(e.GetMessageText()) != "Invalid parameters : qvSimpleArray<T>::Left: Out of Range")
            return Fail("wrong message");
    }
    const qvComplex z = qvComplex(1, 2) * qvComplex(3, 4);
    if (z.re != -5 || z.im != 10 || std::string(qvType<qvComplex>::GetValueTypeName()) != "Complex")
        return Fail("wrong complex results");
    std::printf("consumer: ok\n");
    return 0;
}
