// The tridiagonal record: diagonals that do not fit together are refused,
// cut records are refused, and nothing changes when a reading fails.
#include <climits>
#include <tuple>

#include "band_test_support.h"
#include "record_cuts.h"

using namespace bandtest;
using cqvtest::RecordBytes;

namespace {

// Everything a reading may change: the elements and where each diagonal
// lives.
std::tuple<V, const void*, const void*, const void*> TriState(const Tri& a) {
    return {Band(a), a.Up().Pointer(), a.Diag().Pointer(), a.Down().Pointer()};
}

// A record of three diagonals of the given lengths, element values counting
// up from 1.
RecordBytes TriRecord(int up, int diag, int down) {
    RecordBytes r;
    double x = 1;
    for (int n : {up, diag, down}) {
        r.Int(n);
        for (int i = 0; i < n; ++i) r.Double(x++);
    }
    return r;
}

}  // namespace

TEST(Matrix3DiagRecord, DiagonalsThatDoNotFitTogetherAreRefused) {
    // Up, Diag, Down lengths. The first is the record that used to be
    // accepted: MemSize then said 12 while ToMem wrote 28 bytes, and the
    // sweep read past the empty Up.
    const int shapes[][3] = {{0, 0, 2}, {2, 3, 1}, {1, 3, 2}, {2, 2, 2}, {2, 4, 2}, {0, 2, 0}, {1, 0, 1}, {3, 3, 2}};
    for (const auto& s : shapes) {
        SCOPED_TRACE(testing::Message() << s[0] << ", " << s[1] << ", " << s[2]);
        RecordBytes rec = TriRecord(s[0], s[1], s[2]);
        Tri a = MakeTri({1, 2}, {3, 4, 5}, {6, 7});
        const auto before = TriState(a);
        CQV_EXPECT_BAD(a.FromMem(rec.bytes.data()), qvMsg::Matrix3DiagRecordMismatch);
        CQV_EXPECT_BAD(a.FromMem(rec.bytes.data(), rec.Size()), qvMsg::Matrix3DiagRecordMismatch);
        CQV_EXPECT_BAD(qvRecordSize(rec.bytes.data(), rec.Size(), a), qvMsg::Matrix3DiagRecordMismatch);
        EXPECT_TRUE(TriState(a) == before);
    }
}

TEST(Matrix3DiagRecord, EveryOrderRoundTrips) {
    // Order 0 (three empty diagonals), 1 (no off-diagonals) and larger.
    for (int n = 0; n <= 5; ++n) {
        SCOPED_TRACE(n);
        const RecordBytes rec = TriRecord(n > 0 ? n - 1 : 0, n, n > 0 ? n - 1 : 0);
        Tri a = Integers(3, 7);
        EXPECT_EQ(a.FromMem(rec.bytes.data(), rec.Size()), rec.Size());
        EXPECT_EQ(std::make_tuple(a.LineLen(), a.MemSize()), std::make_tuple(n, rec.Size()));
        std::vector<double> counting(static_cast<std::size_t>(n > 0 ? 3 * n - 2 : 0));
        for (std::size_t i = 0; i < counting.size(); ++i) counting[i] = static_cast<double>(i + 1);
        EXPECT_EQ(Band(a), counting);
        EXPECT_EQ(cqvtest::RecordOf(a), rec.bytes);  // the three vector records in turn
        Tri b;  // and by the reader that trusts the record
        EXPECT_EQ(b.FromMem(const_cast<unsigned char*>(rec.bytes.data())), rec.Size());
        EXPECT_EQ(Band(b), counting);
    }
}

TEST(Matrix3DiagRecord, CutRecordsLeaveTheMatrixAsItWas) {
    const std::vector<unsigned char> rec = cqvtest::RecordOf(MakeTri({1, 2}, {3, 4, 5}, {6, 7}));
    // A window onto a dense matrix: a failed reading must not touch it.
    M dense = MatrixOf(3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9});
    Tri a(dense);
    cqvtest::ExpectEveryCutRefused(
        rec, [&](const unsigned char* p, int n) { return a.FromMem(p, n); },
        [&] { return std::make_tuple(TriState(a), Elements(dense), Holders(dense)); });
    EXPECT_EQ(Band(a), V({1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(Elements(dense), V({1, 2, 3, 4, 5, 6, 7, 8, 9}));
}

TEST(Matrix3DiagRecord, SizesTheRecordCannotDescribeAreRefused) {
    Tri a = Integers(3, 2);
    const auto before = TriState(a);
    // Up claims 2^28 doubles; only its count exists.
    const RecordBytes up = RecordBytes().Int(1 << 28);
    const auto four = cqvtest::Prefix(up.bytes, 4);
    CQV_EXPECT_BAD(a.FromMem(four.get()), qvMsg::RecordTooLarge);
    CQV_EXPECT_BAD(a.FromMem(four.get(), 4), qvMsg::RecordTooLarge);
    CQV_EXPECT_BAD(a.FromMem(TriRecord(0, 0, -1).bytes.data(), 12), qvMsg::NewWithRefNonPositive);
    EXPECT_TRUE(TriState(a) == before);

    // Diagonals of stride 0 standing for 2^27 elements each: together more
    // than 2 GiB, each alone less.
    double one = 1;
    qvColumnVector<double> upper, main;
    upper.SetDirectly(&one, 1 << 27, 0);
    main.SetDirectly(&one, (1 << 27) + 1, 0);
    EXPECT_EQ(upper.MemSize(), 4 + (1 << 30));
    cqvtest::ExpectNoRecord(Tri(upper, main, upper));
}
