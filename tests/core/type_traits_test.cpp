// Names, codes and sign facts of the element types.
#include "cqv_test.h"

#include <cstdint>

TEST(TypeTraits, IntegerTypes) {
    EXPECT_STREQ(qvType<unsigned char>::GetValueTypeName(), "UInt8");
    EXPECT_EQ(qvType<unsigned char>::GetTypeCode(), 1);
    EXPECT_EQ(qvType<unsigned char>::GetUHightBit(), 0x80);
    EXPECT_FALSE(qvType<unsigned char>::IsSigned());

    EXPECT_STREQ(qvType<char>::GetValueTypeName(), "Int8");
    EXPECT_EQ(qvType<char>::GetTypeCode(), 2);
    EXPECT_EQ(qvType<char>::GetUHightBit(), 0x40);
    EXPECT_TRUE(qvType<char>::IsSigned());

    EXPECT_STREQ(qvType<unsigned short>::GetValueTypeName(), "UInt16");
    EXPECT_EQ(qvType<unsigned short>::GetTypeCode(), 3);
    EXPECT_EQ(qvType<unsigned short>::GetUHightBit(), 0x8000);
    EXPECT_FALSE(qvType<unsigned short>::IsSigned());

    EXPECT_STREQ(qvType<short>::GetValueTypeName(), "Int16");
    EXPECT_EQ(qvType<short>::GetTypeCode(), 4);
    EXPECT_EQ(qvType<short>::GetUHightBit(), 0x4000);
    EXPECT_TRUE(qvType<short>::IsSigned());

    EXPECT_STREQ(qvType<unsigned int>::GetValueTypeName(), "UInt32");
    EXPECT_EQ(qvType<unsigned int>::GetTypeCode(), 5);
    EXPECT_EQ(qvType<unsigned int>::GetUHightBit(), 0x80000000u);
    EXPECT_FALSE(qvType<unsigned int>::IsSigned());

    EXPECT_STREQ(qvType<int>::GetValueTypeName(), "Int32");
    EXPECT_EQ(qvType<int>::GetTypeCode(), 6);
    EXPECT_EQ(qvType<int>::GetUHightBit(), 0x40000000);
    EXPECT_TRUE(qvType<int>::IsSigned());

    EXPECT_STREQ(qvType<std::int64_t>::GetValueTypeName(), "Int64");
    EXPECT_EQ(qvType<std::int64_t>::GetTypeCode(), 7);
    EXPECT_EQ(qvType<std::int64_t>::GetUHightBit(), 0);
    EXPECT_TRUE(qvType<std::int64_t>::IsSigned());
}

TEST(TypeTraits, RealAndComplexTypes) {
    EXPECT_STREQ(qvType<float>::GetValueTypeName(), "Real32");
    EXPECT_EQ(qvType<float>::GetTypeCode(), 11);
    EXPECT_STREQ(qvType<double>::GetValueTypeName(), "Real64");
    EXPECT_EQ(qvType<double>::GetTypeCode(), 12);
    EXPECT_STREQ(qvType<qvComplex>::GetValueTypeName(), "Complex");
}

TEST(TypeTraits, NamesAreOneStaticText) {
    EXPECT_EQ(qvType<double>::GetValueTypeName(), qvType<double>::GetValueTypeName());
    EXPECT_EQ(qvType<char>::GetValueTypeName(), qvType<char>::GetValueTypeName());
}
