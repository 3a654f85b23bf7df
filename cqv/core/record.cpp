#include "cqv/core/record.h"

#include <climits>

#include "cqv/core/exceptions.h"
#include "cqv/core/messages.h"

int qvRecordBytes(std::int64_t header, std::int64_t count, int elementSize) {
    if (count < 0) throw BadParameters(qvMsg::NewWithRefNonPositive);
    // Divides instead of multiplying, so no count can overflow the test.
    const std::int64_t room = INT_MAX - header;
    if (header < 0 || room < 0 || (elementSize > 0 && count > room / elementSize))
        throw BadParameters(qvMsg::RecordTooLarge);
    return static_cast<int>(header + count * elementSize);
}

int qvCheckRecordLength(int declared, int available) {
    if (declared > available) throw BadParameters(qvMsg::RecordTruncated);
    return declared;
}
