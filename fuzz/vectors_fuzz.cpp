// Column and row vector records of every element type, through the bounded
// reader.
#include "round_trip.h"

#define CQV_FUZZ_VECTORS(T) &cqvfuzz::RoundTrip<qvColumnVector<T>>, &cqvfuzz::RoundTrip<qvLineVector<T>>,
CQV_FUZZ_READERS(CQV_FOR_EACH_LINALG_TYPE(CQV_FUZZ_VECTORS))
