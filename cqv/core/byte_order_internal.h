// Little-endian byte images for persistence records; not installed.
//
// Records are packed and little-endian on every host. The helpers write and
// read values byte by byte through their unsigned integer images, so they
// need no alignment; on little-endian hosts the compiler turns them into
// plain loads and stores, and whole runs of elements become one memcpy.
#ifndef CQV_CORE_BYTE_ORDER_INTERNAL_H
#define CQV_CORE_BYTE_ORDER_INTERNAL_H

#include <cstdint>
#include <cstring>
#include <type_traits>

namespace qvDetail {

#if defined(_WIN32) || (defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__)
constexpr bool kLittleEndianHost = true;
#else
constexpr bool kLittleEndianHost = false;
#endif

// The unsigned integer of N bytes (1, 2, 4 or 8).
template <std::size_t N>
using UnsignedOfSize = std::conditional_t<
    N == 1, std::uint8_t,
    std::conditional_t<N == 2, std::uint16_t, std::conditional_t<N == 4, std::uint32_t, std::uint64_t>>>;

// Writes the little-endian image of an arithmetic value at p; returns its size.
template <class T>
int PutLE(unsigned char* p, T v) {
    static_assert(std::is_arithmetic<T>::value, "records hold numbers");
    using U = UnsignedOfSize<sizeof(T)>;
    static_assert(sizeof(U) == sizeof(T), "records hold numbers of 1, 2, 4 or 8 bytes");
    U u;
    std::memcpy(&u, &v, sizeof u);
    for (std::size_t i = 0; i < sizeof u; ++i) p[i] = static_cast<unsigned char>(u >> (8 * i));
    return static_cast<int>(sizeof u);
}

// Reads the little-endian image of an arithmetic value at p.
template <class T>
T GetLE(const unsigned char* p) {
    static_assert(std::is_arithmetic<T>::value, "records hold numbers");
    using U = UnsignedOfSize<sizeof(T)>;
    static_assert(sizeof(U) == sizeof(T), "records hold numbers of 1, 2, 4 or 8 bytes");
    U u = 0;
    for (std::size_t i = 0; i < sizeof u; ++i) u = static_cast<U>(u | static_cast<U>(static_cast<U>(p[i]) << (8 * i)));
    T v;
    std::memcpy(&v, &u, sizeof v);
    return v;
}

// Writes n arithmetic values as consecutive little-endian images.
template <class T>
int PutArrayLE(unsigned char* p, const T* src, int n) {
    if (n <= 0) return 0;
    if constexpr (kLittleEndianHost) {
        std::memcpy(p, src, static_cast<std::size_t>(n) * sizeof(T));
    } else {
        for (int i = 0; i < n; ++i) PutLE<T>(p + i * sizeof(T), src[i]);
    }
    return n * static_cast<int>(sizeof(T));
}

// Reads n arithmetic values from consecutive little-endian images.
template <class T>
int GetArrayLE(const unsigned char* p, T* dst, int n) {
    if (n <= 0) return 0;
    if constexpr (kLittleEndianHost) {
        std::memmove(dst, p, static_cast<std::size_t>(n) * sizeof(T));
    } else {
        for (int i = 0; i < n; ++i) dst[i] = GetLE<T>(p + i * sizeof(T));
    }
    return n * static_cast<int>(sizeof(T));
}

}  // namespace qvDetail

#endif  // CQV_CORE_BYTE_ORDER_INTERNAL_H
