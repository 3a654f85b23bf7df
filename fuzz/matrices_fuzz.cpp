// Matrix records of every element type, through the bounded reader.
#include "round_trip.h"

#define CQV_FUZZ_MATRIX(T) &cqvfuzz::RoundTrip<qvMatrix<T>>,
CQV_FUZZ_READERS(CQV_FOR_EACH_LINALG_TYPE(CQV_FUZZ_MATRIX))
