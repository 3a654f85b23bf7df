#include "cqv/core/type_traits.h"

#define CQV_DEFINE_INTEGER_TRAITS(T, name, code, high, isSigned)    \
    char const* qvType<T>::GetValueTypeName() { return name; }      \
    int qvType<T>::GetTypeCode() { return code; }                   \
    T qvType<T>::GetUHightBit() { return static_cast<T>(high); }    \
    bool qvType<T>::IsSigned() { return isSigned; }

CQV_DEFINE_INTEGER_TRAITS(unsigned char, "UInt8", 1, 0x80, false)
CQV_DEFINE_INTEGER_TRAITS(char, "Int8", 2, 0x40, true)
CQV_DEFINE_INTEGER_TRAITS(unsigned short int, "UInt16", 3, 0x8000, false)
CQV_DEFINE_INTEGER_TRAITS(short int, "Int16", 4, 0x4000, true)
CQV_DEFINE_INTEGER_TRAITS(unsigned int, "UInt32", 5, 0x80000000u, false)
CQV_DEFINE_INTEGER_TRAITS(int, "Int32", 6, 0x40000000, true)
// The 64-bit type has always reported 0 as its high bit.
CQV_DEFINE_INTEGER_TRAITS(std::int64_t, "Int64", 7, 0, true)

#undef CQV_DEFINE_INTEGER_TRAITS

char const* qvType<float>::GetValueTypeName() { return "Real32"; }
int qvType<float>::GetTypeCode() { return 11; }
char const* qvType<double>::GetValueTypeName() { return "Real64"; }
int qvType<double>::GetTypeCode() { return 12; }
