// The exception classes and the shared message buffer.
#include "cqv_test.h"

#include <string>

TEST(Exceptions, BadParametersPrefixesTheText) {
    BadParameters e("qvSimpleArray<T>::Left: Out of Range");
    EXPECT_STREQ(e.GetMessageText(), "Invalid parameters : qvSimpleArray<T>::Left: Out of Range");
    EXPECT_EQ(qvExceptionWithMessageGetMessage(), qvExceptionWithMessage::message);
    BadParameters d;
    EXPECT_STREQ(d.GetMessageText(), "Invalid parameters.");
}

TEST(Exceptions, EmptyBufferReportsThatThereIsNoMessage) {
    qvExceptionWithMessage e;
    EXPECT_EQ(qvExceptionWithMessage::message[0], '\0');
    EXPECT_STREQ(e.GetMessageText(), "There is not message.");
    EXPECT_STREQ(qvExceptionWithMessage::message, "There is not message.");
}

TEST(Exceptions, TheBufferHoldsTheMostRecentTextAndCopiesLeaveItAlone) {
    BadParameters first("first");
    qvErrNoMemory second(7);
    EXPECT_STREQ(first.GetMessageText(), "be not sufficient 7 byte");
    BadParameters copy(first);
    EXPECT_STREQ(copy.GetMessageText(), "be not sufficient 7 byte");
    qvErrNoMemory m2(second);
    EXPECT_EQ(m2.GetSize(), 7u);
    qvErrNoMemory m3;
    EXPECT_EQ(m3.GetSize(), 0u);
    m3 = second;
    EXPECT_EQ(m3.GetSize(), 7u);
}

TEST(Exceptions, NoMemoryCarriesTheSize) {
    qvErrNoMemory e(100);
    EXPECT_EQ(e.GetSize(), 100u);
    EXPECT_STREQ(e.GetMessageText(), "be not sufficient 100 byte");
    qvErrNoMemory big(4294967295u);
    EXPECT_STREQ(big.GetMessageText(), "be not sufficient 4294967295 byte");
}

TEST(Exceptions, LongTextsAreCutTo511Characters) {
    const std::string longText(600, 'x');
    qvExceptionWithMessage e(longText.c_str());
    EXPECT_EQ(std::string(e.GetMessageText()), std::string(511, 'x'));

    BadParameters b(longText.c_str());
    const std::string got = b.GetMessageText();
    EXPECT_EQ(got.size(), 511u);
    EXPECT_EQ(got, "Invalid parameters : " + std::string(490, 'x'));

    // Exactly 511 characters fit; a null text leaves an empty buffer.
    const std::string fits(511, 'y');
    e.Set(fits.c_str());
    EXPECT_EQ(std::string(qvExceptionWithMessage::message), fits);
    e.Set(nullptr);
    EXPECT_STREQ(e.GetMessageText(), "There is not message.");
}

TEST(Exceptions, CatchableThroughTheBaseClass) {
    try {
        throw BadParameters("x");
    } catch (const qvExceptionWithMessage& e) {
        EXPECT_STREQ(e.GetMessageText(), "Invalid parameters : x");
    }
    try {
        throw qvErrNoMemory(3);
    } catch (qvExceptionWithMessage& e) {
        EXPECT_STREQ(e.GetMessageText(), "be not sufficient 3 byte");
    }
}
