// The exception classes, the client error classes and the shared message
// buffer.
#include "cqv_test.h"

#include <string>
#include <type_traits>
#include <vector>

namespace {

using Ints = std::vector<int>;

std::string Text() { return qvExceptionWithMessageGetMessage(); }
std::string Str(const qvString& s) { return std::string(s.begin(), s.end()); }

}  // namespace

TEST(Exceptions, BufferTextsPrefixesAndSizes) {
    static_assert(std::is_base_of<qvExceptionWithMessage, BadParameters>::value &&
                      std::is_base_of<qvExceptionWithMessage, qvErrNoMemory>::value,
                  "caught through the base class");
    qvExceptionWithMessage none;
    EXPECT_EQ(qvExceptionWithMessage::message[0], '\0');
    EXPECT_STREQ(none.GetMessageText(), "There is not message.");  // written into the buffer itself
    EXPECT_STREQ(qvExceptionWithMessage::message, "There is not message.");

    BadParameters e("qvSimpleArray<T>::Left: Out of Range");
    EXPECT_EQ(qvExceptionWithMessageGetMessage(), qvExceptionWithMessage::message);
    EXPECT_STREQ(BadParameters().GetMessageText(), "Invalid parameters.");

    // The buffer holds the latest text; copies and assignments leave it alone.
    const qvErrNoMemory big(4294967295u);
    EXPECT_STREQ(e.GetMessageText(), "be not sufficient 4294967295 byte");
    qvErrNoMemory m;
    EXPECT_EQ(m.GetSize(), 0u);
    m = big;
    const qvErrNoMemory m2(big);
    const BadParameters copy(e);
    EXPECT_EQ(std::vector<unsigned>({m.GetSize(), m2.GetSize()}), std::vector<unsigned>({4294967295u, 4294967295u}));
    EXPECT_STREQ(copy.GetMessageText(), "be not sufficient 0 byte");
}

TEST(Exceptions, LongTextsAreCutTo511Characters) {
    const std::string longText(600, 'x');
    qvExceptionWithMessage e(longText.c_str());
    EXPECT_EQ(Text(), std::string(511, 'x'));
    BadParameters b(longText.c_str());
    EXPECT_EQ(Text(), "Invalid parameters : " + std::string(490, 'x'));
    const std::string fits(511, 'y');  // exactly 511 fit
    e.Set(fits.c_str());
    EXPECT_EQ(Text(), fits);
    e.Set(nullptr);
    EXPECT_EQ(Text(), "There is not message.");
}

TEST(ClientErrors, ErrorKeepsItsCodeAndWritesTheText) {
    EXPECT_EQ(Ints({qvError("e").GetCode(), qvError(5, "five").GetCode()}), Ints({-1, 5}));
    EXPECT_EQ(Text(), "five");
    const qvString text = qvString("from a string");
    EXPECT_EQ(qvError(text).GetCode(), -1);
    EXPECT_EQ(Text(), "from a string");
    EXPECT_EQ(text.GetMem(), nullptr);  // the caller's string is left alone
    EXPECT_EQ(qvError(3, text.Left(4)).GetCode(), 3);
    EXPECT_EQ(Text(), "from");
    // The buffer is emptied before the text is copied in: the buffer itself
    // as the text leaves nothing.
    qvError(4, qvExceptionWithMessage::message);
    EXPECT_EQ(Text(), "There is not message.");
}

TEST(ClientErrors, TrovErrorHoldsTwoCodesAndAPrivateName) {
    char name[] = "solver";
    const qvTrovError e(7, qvString(name), qvString("it failed"));
    EXPECT_EQ(Ints({e.GetFirstCode(), e.GetSecondCode()}), Ints({-1, 7}));
    EXPECT_EQ(Text(), "it failed");
    EXPECT_EQ(cqvtest::BlockSizeWord(e.GetName().GetPointer()), -6);
    name[0] = 'S';
    EXPECT_EQ(Str(e.GetName()), "solver");

    qvTrovError f(1, 2, qvString(""), qvString("other"));
    EXPECT_EQ(f.GetFirstCode(), 1);
    EXPECT_TRUE(qvTrovError(f).GetName().empty());
    f = e;
    const qvTrovError h(f);
    EXPECT_EQ(Ints({f.GetFirstCode(), f.GetSecondCode(), h.GetFirstCode(), h.GetSecondCode()}), Ints({-1, 7, -1, 7}));
    EXPECT_NE(h.GetName().GetPointer(), f.GetName().GetPointer());
    EXPECT_EQ(Str(h.GetName()), "solver");
    EXPECT_EQ(Text(), "other");  // copies and assignments leave the text alone
}

TEST(ClientErrors, NoImplementedNamesTheFunction) {
    const qvErr_NoImplemented e(qvString("Solve"));
    EXPECT_EQ(std::string(e.GetMessageText()), "Function Solve don't implemented");
    qvErr_NoImplemented other(qvString("Fit"));
    other = e;
    const qvErr_NoImplemented copy(other);
    EXPECT_EQ(Str(copy.GetName()), "Solve");
    EXPECT_NE(copy.GetName().GetPointer(), other.GetName().GetPointer());
    EXPECT_EQ(Text(), "Function Fit don't implemented");
}
