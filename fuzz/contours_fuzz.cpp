// Curve and contour records, through the bounded reader.
#include "round_trip.h"

CQV_FUZZ_READERS(&cqvfuzz::RoundTrip<qvCurve2D>, &cqvfuzz::RoundTrip<qvSimpleContour2D>)
