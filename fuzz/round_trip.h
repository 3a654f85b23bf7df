// What every record fuzz target checks: bytes read through the bounded
// reader are either refused with BadParameters (leaving the object as it
// was) or read, and then the object writes back exactly the bytes it read.
#ifndef CQV_FUZZ_ROUND_TRIP_H
#define CQV_FUZZ_ROUND_TRIP_H

#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <cqv/cqv.h>

namespace cqvfuzz {

// Stops the run with libFuzzer's crash report when a check fails.
inline void Require(bool ok) {
    if (!ok) std::abort();
}

// The bytes of an object's record.
template <class T>
std::vector<unsigned char> RecordOf(const T& x) {
    std::vector<unsigned char> out(static_cast<std::size_t>(x.MemSize()));
    Require(x.ToMem(out.data()) == static_cast<int>(out.size()));
    return out;
}

// Reads a T from the bytes (at most INT_MAX of them) and checks the round
// trip.
template <class T>
void RoundTrip(const std::uint8_t* data, std::size_t size) {
    const int available = size > static_cast<std::size_t>(INT_MAX) ? INT_MAX : static_cast<int>(size);
    T x;
    const std::vector<unsigned char> empty = RecordOf(x);
    int read = 0;
    try {
        read = x.FromMem(data, available);
    } catch (const BadParameters&) {
        Require(RecordOf(x) == empty);  // refused before any change
        return;
    } catch (const qvErrNoMemory&) {
        return;  // a well-formed record too large for this machine
    }
    Require(read >= 0 && read <= available);
    Require(T::RecordSize(data, available) == read);
    const std::vector<unsigned char> back = RecordOf(x);
    Require(back.size() == static_cast<std::size_t>(read));
    Require(read == 0 || std::memcmp(back.data(), data, back.size()) == 0);
}

using Reader = void (*)(const std::uint8_t*, std::size_t);

// The first byte picks one of the readers (an element type); the rest is
// the record.
template <std::size_t N>
int Dispatch(const Reader (&readers)[N], const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    readers[data[0] % N](data + 1, size - 1);
    return 0;
}

}  // namespace cqvfuzz

// The entry point of a target whose first input byte picks one of the
// listed readers.
#define CQV_FUZZ_READERS(...)                                                              \
    namespace {                                                                            \
    const cqvfuzz::Reader kReaders[] = {__VA_ARGS__};                                      \
    }                                                                                      \
    extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {    \
        return cqvfuzz::Dispatch(kReaders, data, size);                                    \
    }

#endif  // CQV_FUZZ_ROUND_TRIP_H
