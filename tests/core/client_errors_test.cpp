// The error classes offered to clients: codes, names and the shared message.
#include "cqv_test.h"

#include <string>

namespace {

std::string Text() { return qvExceptionWithMessageGetMessage(); }
std::string Str(const qvString& s) { return std::string(s.begin(), s.end()); }

}  // namespace

TEST(ClientErrors, ErrorKeepsItsCodeAndWritesTheText) {
    EXPECT_EQ(qvError("e").GetCode(), -1);
    const qvError five(5, "e");
    EXPECT_EQ(five.GetCode(), 5);
    EXPECT_EQ(std::string(five.GetMessageText()), "e");

    const qvString text = qvString("from a string");
    const qvError s(text);
    EXPECT_EQ(s.GetCode(), -1);
    EXPECT_EQ(Text(), "from a string");
    EXPECT_EQ(text.GetMem(), nullptr);  // the caller's string is left alone
    EXPECT_EQ(qvError(3, text.Left(4)).GetCode(), 3);
    EXPECT_EQ(Text(), "from");

    const std::string longText(600, 'x');
    qvError cut(longText.c_str());
    EXPECT_EQ(Text(), longText.substr(0, 511));
    qvError copy(cut);
    copy = five;
    EXPECT_EQ(copy.GetCode(), 5);
    EXPECT_EQ(Text(), longText.substr(0, 511));  // copies leave the text alone

    try {
        throw qvError(9, "thrown");
    } catch (const qvExceptionWithMessage& e) {
        EXPECT_EQ(std::string(e.GetMessageText()), "thrown");
    }
}

TEST(ClientErrors, TrovErrorHoldsTwoCodesAndAPrivateName) {
    char name[] = "solver";
    const qvTrovError e(7, qvString(name), qvString("it failed"));
    EXPECT_EQ(e.GetFirstCode(), -1);
    EXPECT_EQ(e.GetSecondCode(), 7);
    EXPECT_EQ(Text(), "it failed");
    EXPECT_NE(e.GetName().GetPointer(), name);
    EXPECT_EQ(cqvtest::BlockSizeWord(e.GetName().GetPointer()), -6);
    name[0] = 'S';
    EXPECT_EQ(Str(e.GetName()), "solver");

    qvTrovError f(1, 2, qvString(""), qvString("other"));
    EXPECT_EQ(f.GetFirstCode(), 1);
    EXPECT_EQ(f.GetSecondCode(), 2);
    EXPECT_TRUE(f.GetName().empty());
    const qvTrovError g(f);
    EXPECT_TRUE(g.GetName().empty());
    f = e;
    EXPECT_EQ(f.GetFirstCode(), -1);
    EXPECT_EQ(Str(f.GetName()), "solver");
    const qvTrovError h(f);
    EXPECT_NE(h.GetName().GetPointer(), f.GetName().GetPointer());
    EXPECT_EQ(Str(h.GetName()), "solver");
    EXPECT_EQ(Text(), "other");
}

TEST(ClientErrors, NoImplementedNamesTheFunction) {
    const qvErr_NoImplemented e(qvString("Solve"));
    EXPECT_EQ(std::string(e.GetMessageText()), "Function Solve don't implemented");
    EXPECT_EQ(Str(e.GetName()), "Solve");
    EXPECT_NE(e.GetName().GetMem(), nullptr);

    qvErr_NoImplemented other(qvString("Fit"));
    other = e;
    EXPECT_EQ(Str(other.GetName()), "Solve");
    const qvErr_NoImplemented copy(other);
    EXPECT_EQ(Str(copy.GetName()), "Solve");
    EXPECT_NE(copy.GetName().GetPointer(), other.GetName().GetPointer());
    EXPECT_EQ(Text(), "Function Fit don't implemented");
}
