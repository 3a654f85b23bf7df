#include "cqv/core/exceptions.h"

#include <cstdio>

#include "cqv/core/messages.h"

char qvExceptionWithMessage::message[qvExceptionWithMessage::MessageSize] = {0};

namespace {

// Copies at most `bound` characters of src to dst and pads the rest of the
// bound with zeros, as the C runtime's strncpy does. A null src copies nothing.
void CopyBounded(char* dst, const char* src, int bound) {
    int i = 0;
    if (src != nullptr) {
        for (; i < bound && src[i] != '\0'; ++i) dst[i] = src[i];
    }
    for (; i < bound; ++i) dst[i] = '\0';
}

constexpr int kLast = qvExceptionWithMessage::MessageSize - 1;
constexpr char kBadPrefix[] = "Invalid parameters : ";
constexpr int kBadPrefixLen = sizeof(kBadPrefix) - 1;  // 21 characters

}  // namespace

qvExceptionWithMessage::qvExceptionWithMessage() { message[0] = '\0'; }

qvExceptionWithMessage::qvExceptionWithMessage(const char* s) { Set(s); }

void qvExceptionWithMessage::Set(const char* s) {
    CopyBounded(message, s, MessageSize);
    message[kLast] = '\0';
}

char* qvExceptionWithMessage::GetMessageText() const { return qvExceptionWithMessageGetMessage(); }

char* qvExceptionWithMessageGetMessage() {
    char* m = qvExceptionWithMessage::message;
    if (m[0] == '\0') {
        CopyBounded(m, qvMsg::NoMessage, qvExceptionWithMessage::MessageSize);
        m[kLast] = '\0';
    }
    return m;
}

BadParameters::BadParameters() : qvExceptionWithMessage(qvMsg::InvalidParameters) {}

BadParameters::BadParameters(const char* s) {
    message[0] = '\0';
    CopyBounded(message, kBadPrefix, kBadPrefixLen);
    CopyBounded(message + kBadPrefixLen, s, MessageSize - kBadPrefixLen);
    message[kLast] = '\0';
}

namespace {

// Writes the exhausted-memory message for a request of size bytes.
void FormatNoMemory(unsigned int size) {
    char* m = qvExceptionWithMessage::message;
    m[0] = '\0';
    std::snprintf(m, qvExceptionWithMessage::MessageSize, "be not sufficient %u byte", size);
    m[kLast] = '\0';
}

}  // namespace

qvErrNoMemory::qvErrNoMemory() : size(0) { FormatNoMemory(0); }

qvErrNoMemory::qvErrNoMemory(unsigned int s) : size(s) { FormatNoMemory(s); }
