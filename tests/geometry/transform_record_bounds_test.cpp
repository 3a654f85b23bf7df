// Bounded reading of the transforms' records: a record cut anywhere is
// refused and leaves the transform as it was.
#include "record_cuts.h"

namespace {

// The bytes a transform writes of itself, through the free functions.
template <class X>
std::vector<unsigned char> Written(const X& t) {
    std::vector<unsigned char> rec(static_cast<std::size_t>(qvMemSize(t)));
    qvToMem(rec.data(), t);
    return rec;
}

template <class X>
void ExpectCutsRefused(const X& source, X target, int size) {
    const std::vector<unsigned char> rec = Written(source);
    ASSERT_EQ(static_cast<int>(rec.size()), size);
    // Through the member and through the free function.
    X other = target;
    cqvtest::ExpectEveryCutRefused(
        rec, [&](const unsigned char* p, int n) { return target.FromMem(p, n); }, [&] { return Written(target); });
    cqvtest::ExpectEveryCutRefused(
        rec, [&](const unsigned char* p, int n) { return qvFromMem(p, n, other); }, [&] { return Written(other); });
    EXPECT_EQ(std::make_pair(Written(target), Written(other)), std::make_pair(rec, rec));
    EXPECT_EQ(qvRecordSize(rec.data(), size + 1, target), size);
    CQV_EXPECT_BAD(qvRecordSize(rec.data(), size - 1, target), qvMsg::RecordTruncated);
}

}  // namespace

TEST(TransformRecordBounds, CutRecordsLeaveTheTransformAsItWas) {
    qvTransformCoord2D plane;
    plane.AddTurn(0.5);
    plane.AddShift(qvVec2(3, -4));
    qvTransformCoord2D planeTarget;
    planeTarget.AddScale(qvVec2(2, 5));
    ExpectCutsRefused(plane, planeTarget, 48);

    qvTransformCoord3D space;
    space.AddTurn(0.1, 0.2, 0.3);
    space.AddShift(qvTVec3<double>(1, 2, 3));
    ExpectCutsRefused(space, qvTransformCoord3D(), 96);
}
