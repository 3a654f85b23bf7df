// qvType<T>: the names, codes and sign facts of the library's element types.
//
// Ten specialisations exist: the nine of the built-in types below, and that
// of the complex number, which stands with its type (cqv/values/complex.h).
// Integer types report their name, type code, signedness and the highest bit
// a non-negative value can carry; floating-point types their name and code;
// the complex type its name only. Nothing here allocates or throws.
#ifndef CQV_CORE_TYPE_TRAITS_H
#define CQV_CORE_TYPE_TRAITS_H

#include <cstdint>

#include "cqv/core/export.h"

template <class T>
class qvType;

// Declares the traits of an integer type: name, code, high bit, signedness.
#define CQV_INTEGER_TYPE_TRAITS(T)                                            \
    template <>                                                               \
    class CQV_API qvType<T> {                                                 \
    public:                                                                   \
        /* The type's printable name, the same static text on every call. */ \
        static char const* GetValueTypeName();                                \
        /* The integer code of the type. */                                   \
        static int GetTypeCode();                                             \
        /* The highest bit a non-negative value of the type can carry. */     \
        static T GetUHightBit();                                              \
        /* Whether the type is signed. */                                     \
        static bool IsSigned();                                               \
    };

CQV_INTEGER_TYPE_TRAITS(unsigned char)
CQV_INTEGER_TYPE_TRAITS(char)
CQV_INTEGER_TYPE_TRAITS(unsigned short int)
CQV_INTEGER_TYPE_TRAITS(short int)
CQV_INTEGER_TYPE_TRAITS(unsigned int)
CQV_INTEGER_TYPE_TRAITS(int)
CQV_INTEGER_TYPE_TRAITS(std::int64_t)

#undef CQV_INTEGER_TYPE_TRAITS

// Traits of a floating-point type: name and code.
#define CQV_REAL_TYPE_TRAITS(T)                 \
    template <>                                 \
    class CQV_API qvType<T> {                   \
    public:                                     \
        static char const* GetValueTypeName();  \
        static int GetTypeCode();               \
    };

CQV_REAL_TYPE_TRAITS(float)
CQV_REAL_TYPE_TRAITS(double)

#undef CQV_REAL_TYPE_TRAITS

#endif  // CQV_CORE_TYPE_TRAITS_H
