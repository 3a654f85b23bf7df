// Records written by hand and records cut short, for the tests of the
// record readers.
#ifndef CQV_TESTS_SUPPORT_RECORD_CUTS_H
#define CQV_TESTS_SUPPORT_RECORD_CUTS_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "cqv_test.h"

namespace cqvtest {

// Names of typed tests by their place in the type list (a name generator
// keeps TYPED_TEST_SUITE free of an empty variadic argument).
struct TypeIndexNames {
    template <class T>
    static std::string GetName(int i) {
        return "type" + std::to_string(i);
    }
};

// Writes records byte by byte, little-endian, independently of the
// library's own writers.
struct RecordBytes {
    std::vector<unsigned char> bytes;

    RecordBytes& Int(std::int32_t v) { return Image(static_cast<std::uint32_t>(v), 4); }
    RecordBytes& Double(double v) {
        std::uint64_t u;
        std::memcpy(&u, &v, sizeof u);
        return Image(u, 8);
    }
    RecordBytes& Doubles(std::initializer_list<double> vs) {
        for (double v : vs) Double(v);
        return *this;
    }
    int Size() const { return static_cast<int>(bytes.size()); }

private:
    RecordBytes& Image(std::uint64_t u, int n) {
        for (int i = 0; i < n; ++i) bytes.push_back(static_cast<unsigned char>(u >> (8 * i)));
        return *this;
    }
};

// A heap copy of the first n bytes of rec, exactly n bytes long: a reader
// that looks past them trips the address sanitizer.
inline std::unique_ptr<unsigned char[]> Prefix(const std::vector<unsigned char>& rec, std::size_t n) {
    std::unique_ptr<unsigned char[]> p(new unsigned char[n]);
    if (n > 0) std::memcpy(p.get(), rec.data(), n);
    return p;
}

// The record an object writes of itself.
template <class X>
std::vector<unsigned char> RecordOf(const X& x) {
    std::vector<unsigned char> rec(static_cast<std::size_t>(x.MemSize()));
    EXPECT_EQ(x.ToMem(rec.data()), static_cast<int>(rec.size()));
    return rec;
}

// What a reading can change in an array-like object: its record and where
// its elements are.
template <class X>
std::pair<std::vector<unsigned char>, const void*> StateOf(const X& x) {
    return {RecordOf(x), x.Pointer()};
}

// x stands for more elements than a record of 2^31 - 1 bytes holds (by
// stride 0 or storage of the caller's, so that no element is ever read): it
// has no record size, and writing its record is refused before any byte.
template <class X>
void ExpectNoRecord(const X& x) {
    CQV_EXPECT_BAD(x.MemSize(), qvMsg::RecordTooLarge);
    unsigned char out[4] = {0xAB, 0xAB, 0xAB, 0xAB};
    CQV_EXPECT_BAD(x.ToMem(out), qvMsg::RecordTooLarge);
    EXPECT_EQ(std::vector<int>(out, out + 4), std::vector<int>(4, 0xAB));
}

// read(p, available) is a bounded reading into some target and state() what
// that reading may change. Every proper prefix of rec must be refused with
// the truncation text and leave state() as it was; the whole record must be
// read, returning its size.
template <class Read, class State>
void ExpectEveryCutRefused(const std::vector<unsigned char>& rec, Read read, State state) {
    const auto before = state();
    for (std::size_t n = 0; n < rec.size(); ++n) {
        const std::unique_ptr<unsigned char[]> cut = Prefix(rec, n);
        CQV_EXPECT_BAD(read(cut.get(), static_cast<int>(n)), qvMsg::RecordTruncated);
        EXPECT_TRUE(state() == before) << "changed by a record cut after " << n << " bytes";
    }
    const std::unique_ptr<unsigned char[]> whole = Prefix(rec, rec.size());
    EXPECT_EQ(read(whole.get(), static_cast<int>(rec.size())), static_cast<int>(rec.size()));
}

}  // namespace cqvtest

#endif  // CQV_TESTS_SUPPORT_RECORD_CUTS_H
