// String records, through the bounded reader.
#include "round_trip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    cqvfuzz::RoundTrip<qvString>(data, size);
    return 0;
}
