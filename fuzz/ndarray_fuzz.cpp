// N-dimensional array records of every element type, through the bounded
// reader.
#include "round_trip.h"

#define CQV_FUZZ_ARRAYND(T) &cqvfuzz::RoundTrip<qvArrayND<T>>,
CQV_FUZZ_READERS(CQV_FOR_EACH_ARRAYND_TYPE(CQV_FUZZ_ARRAYND))
