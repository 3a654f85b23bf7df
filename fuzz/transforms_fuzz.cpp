// Plane and space transform records, through the bounded reader.
#include "round_trip.h"

CQV_FUZZ_READERS(&cqvfuzz::RoundTrip<qvTransformCoord2D>, &cqvfuzz::RoundTrip<qvTransformCoord3D>)
