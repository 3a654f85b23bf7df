// Exception classes of the library.
//
// Every failure is reported by throwing one of these. The text of the most
// recently constructed exception lives in one static buffer shared by all of
// them, qvExceptionWithMessage::message; an exception object carries no text
// of its own, so copying one (as a catch by value does) leaves the buffer
// alone, and constructing another replaces the text. Constructing an
// exception never throws.
#ifndef CQV_CORE_EXCEPTIONS_H
#define CQV_CORE_EXCEPTIONS_H

#include "cqv/core/export.h"

// Root of the exception classes. Its one virtual member is GetMessageText.
class CQV_API qvExceptionWithMessage {
public:
    // Size of the shared message buffer; at most MessageSize - 1 characters
    // of a text are kept and the last character is always zero.
    enum { MessageSize = 512 };

    // The message buffer shared by every exception object.
    static char message[MessageSize];

    // Empties the message buffer.
    qvExceptionWithMessage();
    // Stores s in the message buffer (see Set).
    explicit qvExceptionWithMessage(const char* s);
    // Copies nothing: the text stays in the shared buffer.
    CQV_INLINE qvExceptionWithMessage(const qvExceptionWithMessage&) {}
    CQV_INLINE qvExceptionWithMessage& operator=(const qvExceptionWithMessage&) { return *this; }

    // Copies s into the buffer, cut to 511 characters; a null s empties it.
    void Set(const char* s);

    // The message buffer, or "There is not message." if it is empty.
    virtual char* GetMessageText() const;
};

// Returns the message buffer; an empty buffer first receives the text
// "There is not message.".
CQV_API char* qvExceptionWithMessageGetMessage();

// Thrown by every failed check of the library. The message reads
// "Invalid parameters : " followed by the text of the check.
class CQV_API BadParameters : public qvExceptionWithMessage {
public:
    // Message "Invalid parameters.".
    BadParameters();
    // Message "Invalid parameters : " followed by s, cut to 511 characters.
    explicit BadParameters(const char* s);
    // Copies nothing: the text stays in the shared buffer.
    CQV_INLINE BadParameters(const BadParameters& e) : qvExceptionWithMessage(e) {}
    CQV_INLINE BadParameters& operator=(const BadParameters&) { return *this; }
};

// Thrown when the heap cannot satisfy a request; carries the requested size.
class CQV_API qvErrNoMemory : public qvExceptionWithMessage {
public:
    // Size 0 and the message for 0 bytes.
    qvErrNoMemory();
    // Stores size and writes "be not sufficient <size> byte" to the buffer.
    explicit qvErrNoMemory(unsigned int size);
    // Copies the size; the text stays in the shared buffer.
    CQV_INLINE qvErrNoMemory(const qvErrNoMemory& e) : qvExceptionWithMessage(e), size(e.size) {}
    CQV_INLINE qvErrNoMemory& operator=(const qvErrNoMemory& e) {
        size = e.size;
        return *this;
    }

    // The byte count whose allocation failed.
    CQV_INLINE unsigned int GetSize() const { return size; }

private:
    unsigned int size;
};

#endif  // CQV_CORE_EXCEPTIONS_H
