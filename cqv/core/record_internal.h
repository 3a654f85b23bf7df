// Reading the counts of a record within a bound; not installed.
#ifndef CQV_CORE_RECORD_INTERNAL_H
#define CQV_CORE_RECORD_INTERNAL_H

#include <climits>
#include <cstdint>

#include "cqv/core/byte_order_internal.h"
#include "cqv/core/record.h"

namespace qvDetail {

// The bound the specified readers work with: they trust the record, so
// only the sizes' arithmetic and the class's invariants are checked.
constexpr int kUnboundedRecord = INT_MAX;

// The int32 count at p + at, after checking that its four bytes lie inside
// the available ones.
inline std::int32_t RecordCount(const unsigned char* p, int at, int available) {
    qvCheckRecordLength(qvRecordBytes(at, 1, 4), available);
    return GetLE<std::int32_t>(p + at);
}

}  // namespace qvDetail

#endif  // CQV_CORE_RECORD_INTERNAL_H
