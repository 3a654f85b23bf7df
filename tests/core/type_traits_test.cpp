// Names, codes and sign facts of the element types.
#include "cqv_test.h"

#include <cstdint>

namespace {

template <class T>
void ExpectInteger(const char* name, int code, T highBit, bool isSigned) {
    EXPECT_STREQ(qvType<T>::GetValueTypeName(), name);
    EXPECT_EQ(qvType<T>::GetValueTypeName(), qvType<T>::GetValueTypeName()) << "one static text";
    EXPECT_EQ(qvType<T>::GetTypeCode(), code) << name;
    EXPECT_EQ(qvType<T>::GetUHightBit(), highBit) << name;
    EXPECT_EQ(qvType<T>::IsSigned(), isSigned) << name;
}

}  // namespace

TEST(TypeTraits, EveryInstance) {
    ExpectInteger<unsigned char>("UInt8", 1, 0x80, false);
    ExpectInteger<char>("Int8", 2, 0x40, true);
    ExpectInteger<unsigned short>("UInt16", 3, 0x8000, false);
    ExpectInteger<short>("Int16", 4, 0x4000, true);
    ExpectInteger<unsigned int>("UInt32", 5, 0x80000000u, false);
    ExpectInteger<int>("Int32", 6, 0x40000000, true);
    ExpectInteger<std::int64_t>("Int64", 7, 0, true);
    EXPECT_STREQ(qvType<float>::GetValueTypeName(), "Real32");
    EXPECT_EQ(qvType<float>::GetTypeCode(), 11);
    EXPECT_STREQ(qvType<double>::GetValueTypeName(), "Real64");
    EXPECT_EQ(qvType<double>::GetTypeCode(), 12);
    EXPECT_STREQ(qvType<qvComplex>::GetValueTypeName(), "Complex");
}
