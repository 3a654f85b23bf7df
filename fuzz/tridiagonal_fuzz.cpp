// Tridiagonal matrix records, through the bounded reader.
#include "round_trip.h"

#define CQV_FUZZ_MATRIX3DIAG(T) &cqvfuzz::RoundTrip<qvMatrix3Diag<T>>,
CQV_FUZZ_READERS(CQV_FOR_EACH_MATRIX3DIAG_TYPE(CQV_FUZZ_MATRIX3DIAG))
