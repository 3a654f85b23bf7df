// Array records of every element type, through the bounded reader.
#include "round_trip.h"

#define CQV_FUZZ_ARRAY(T) &cqvfuzz::RoundTrip<qvArray<T>>,
CQV_FUZZ_READERS(CQV_FOR_EACH_ARRAY_TYPE(CQV_FUZZ_ARRAY))
