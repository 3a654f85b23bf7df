#include "cqv/ndarray/array_nd_abs.h"

#include <climits>
#include <cstdint>
#include <utility>

#include "cqv/core/byte_order_internal.h"
#include "cqv/core/exceptions.h"
#include "cqv/core/record.h"
#include "cqv/ndarray/messages.h"
#include "cqv/ndarray/odometer_internal.h"

namespace {

using qvDetail::WrapAdd;
using qvDetail::WrapMul;
using qvDetail::WrapSub;

// The check MakeAux makes: strides for every extent.
void RequireMatchingTab(const qvArray<int>& range, const qvArray<int>& tab) {
    if (range.Len() > 0 && tab.Len() != range.Len()) throw BadParameters(qvMsg::DifferentRange);
}

// The element count of a box of dim extents ext, every extent at least 1;
// throws for an extent below 1, or for a count beyond 32 bits.
int BoxCount(const int* ext, int dim) {
    std::int64_t n = 1;
    for (int d = 0; d < dim; ++d) {
        if (ext[d] < 1) throw BadParameters(qvMsg::NewWithRefNonPositive);
        n *= ext[d];
        if (n > INT_MAX) throw qvErrNoMemory(UINT_MAX);
    }
    return static_cast<int>(n);
}

// Visits the cells of the box of extents ext (each at least 1) in walk
// order, i_0 fastest, calling visit(offset) with offset = base +
// Σ_d i_d·tab[d]. The offset moves as a walk's element pointer does: by
// tab[0] along a line, by the step table on each carry.
template <class Visit>
void WalkBox(const qvArray<int>& ext, const qvArray<int>& tab, int base, Visit visit) {
    const int dim = ext.Len();
    const qvArray<int> forTab = qvArrayNDAbs::MakeForTab(ext, tab);
    qvArray<int> index(dim, 0);
    int offset = base;
    for (;;) {
        for (int i = 0; i < ext[0]; ++i, offset = WrapAdd(offset, tab[0])) visit(offset);
        const int k = qvDetail::OdometerInc(index.GetPointer(), ext.GetPointer(), dim);
        if (k == 0) return;
        offset = WrapAdd(offset, forTab[k]);
    }
}

// The offsets of the 3 × ... × 3 cube around a cell that are not 0, from
// the cells before the centre only when beforeCentre is set.
void CubeOffsets(const qvArray<int>& tab, qvArray<int>& out, bool beforeCentre) {
    const int dim = tab.Len();
    if (dim == 0) throw BadParameters(qvMsg::ArrayLengthZero);
    const qvArray<int> ext(dim, 3);
    const int cells = BoxCount(ext.GetPointer(), dim);
    const int last = beforeCentre ? cells / 2 : cells;  // the centre is cell cells / 2
    int corner = 0;
    for (int d = 0; d < dim; ++d) corner = WrapSub(corner, tab[d]);
    int count = 0;
    int cell = 0;
    WalkBox(ext, tab, corner, [&](int offset) {
        if (cell++ < last && offset != 0) ++count;
    });
    out.Init(count);
    int at = 0;
    cell = 0;
    WalkBox(ext, tab, corner, [&](int offset) {
        if (cell++ < last && offset != 0) out[at++] = offset;
    });
}

}  // namespace

// ---- the multi-index ------------------------------------------------------------

qvArrayNDAbs::Index::Index() = default;

qvArrayNDAbs::Index::Index(const Index& a) = default;

qvArrayNDAbs::Index& qvArrayNDAbs::Index::operator=(const Index& a) = default;

qvArrayNDAbs::Index::~Index() = default;

int qvArrayNDAbs::Index::Set(const qvArrayNDAbs* a, bool atEnd) {
    const int dim = a->GetDim();
    Init(dim);
    for (int d = 0; d < dim; ++d) data[d] = atEnd ? a->range[d] - 1 : 0;
    return a->size > 0 ? 1 : 0;
}

int qvArrayNDAbs::Index::Inc(const int* extents) { return qvDetail::OdometerInc(data, extents, len); }

int qvArrayNDAbs::Index::Dec(const int* extents) { return qvDetail::OdometerDec(data, extents, len); }

// ---- construction ---------------------------------------------------------------

qvArrayNDAbs::qvArrayNDAbs() : endPos(0), size(0), isCon(true) {}

qvArrayNDAbs::qvArrayNDAbs(const qvArray<int>& r) : range(r), tab(MkTabFromRange(r, 1)), endPos(0), size(0), isCon(true) {
    MakeAux();
}

qvArrayNDAbs::qvArrayNDAbs(const qvArray<int>& r, const qvArray<int>& t)
    : range(r), tab(t), endPos(0), size(0), isCon(true) {
    MakeAux();
}

qvArrayNDAbs::qvArrayNDAbs(const qvArrayNDAbs& a)
    : qvPArray(a), range(a.range), tab(a.tab), forTab(a.forTab), endPos(a.endPos), size(a.size), isCon(a.isCon) {}

qvArrayNDAbs& qvArrayNDAbs::operator=(const qvArrayNDAbs& a) {
    qvPArray::operator=(a);
    range = a.range;
    tab = a.tab;
    forTab = a.forTab;
    endPos = a.endPos;
    size = a.size;
    isCon = a.isCon;
    return *this;
}

qvArrayNDAbs::~qvArrayNDAbs() = default;

void qvArrayNDAbs::Set(const qvArray<int>& r) { Set(r, MkTabFromRange(r, 1)); }

void qvArrayNDAbs::Set(const qvArray<int>& r, const qvArray<int>& t) {
    RequireMatchingTab(r, t);
    // Either argument may be one of this shape's own tables. Every table is
    // made before anything changes, so that a failed allocation leaves the
    // shape as it was.
    qvArray<int> newRange(r), newTab(t);
    qvArray<int> steps = MakeForTab(newRange, newTab);
    range.Move(newRange);
    tab.Move(newTab);
    forTab.Move(steps);
    DeriveWalk();
}

qvArray<int>& qvArrayNDAbs::ModifyRange() { return range; }

void qvArrayNDAbs::AfterModifyRange() { MakeAux(); }

void qvArrayNDAbs::MakeAux() {
    RequireMatchingTab(range, tab);
    qvArray<int> steps = MakeForTab(range, tab);
    forTab.Move(steps);
    DeriveWalk();
}

void qvArrayNDAbs::DeriveWalk() {
    isCon = true;
    const int dim = range.Len();
    if (dim == 0) {
        endPos = 0;
        size = 0;
        return;
    }
    for (int d = 1; d < dim; ++d)
        if (forTab[d] != 0) isCon = false;
    int end = tab[0];
    int count = 1;
    for (int d = 0; d < dim; ++d) {
        end = WrapAdd(end, WrapMul(range[d] - 1, tab[d]));
        count = WrapMul(count, range[d]);
    }
    endPos = end;
    size = count;
}

// ---- extents and records --------------------------------------------------------

int qvArrayNDAbs::PositiveLength() const {
    if (range.Len() == 0) throw BadParameters(qvMsg::ArrayLengthZero);
    int n = 1;
    for (int d = 0; d < range.Len(); ++d) {
        const int reach = WrapMul(range[d] - 1, tab[d]);
        if (reach > 0) n = WrapAdd(n, reach);
    }
    return n;
}

int qvArrayNDAbs::NegativeLength() const {
    if (range.Len() == 0) throw BadParameters(qvMsg::ArrayLengthZero);
    int n = 0;
    for (int d = 0; d < range.Len(); ++d) {
        const int reach = WrapMul(range[d] - 1, tab[d]);
        if (reach < 0) n = WrapAdd(n, reach);
    }
    return n;
}

int qvArrayNDAbs::MemSize() const { return range.MemSize(); }

int qvArrayNDAbs::ToMem(unsigned char* p) const { return range.ToMem(p); }

int qvArrayNDAbs::RecordSize(const unsigned char* p, int available, int elementSize) {
    const int rangeBytes = qvArray<int>::RecordSize(p, available);
    const std::int32_t dim = qvDetail::GetLE<std::int32_t>(p);
    // Stops multiplying beyond INT_MAX: any more is too large already.
    std::int64_t count = dim > 0 ? 1 : 0;
    for (int d = 0; d < dim && count > 0 && count <= INT_MAX; ++d) {
        const std::int32_t extent = qvDetail::GetLE<std::int32_t>(p + 4 + 4 * d);
        count = extent < 1 ? 0 : count * extent;
    }
    return qvCheckRecordLength(qvRecordBytes(rangeBytes, count, elementSize), available);
}

int qvArrayNDAbs::FromMem(const unsigned char* p, int available) {
    RecordSize(p, available, GetSizeOfType());
    return FromMem(const_cast<unsigned char*>(p));
}

int qvArrayNDAbs::FromMem(unsigned char* p) {
    qvArray<int> r;
    const int bytes = r.FromMem(p);
    Init(r);
    return bytes;
}

// ---- hooks of derived picture classes ---------------------------------------------

qvArrayNDAbs* qvArrayNDAbs::New() const { return nullptr; }

int qvArrayNDAbs::IsArrayND() const { return 1; }

bool qvArrayNDAbs::IsInheritFromPictureND() const { return false; }

int qvArrayNDAbs::IsSegm() const { return 0; }

qvArrayNDAbs* qvArrayNDAbs::GetSegm() const { return nullptr; }

int qvArrayNDAbs::GetCurMask() const { return -1; }

void qvArrayNDAbs::SetCurMask(int) {}

bool qvArrayNDAbs::IsEqualCurMask(const void*, int) const { return true; }

// ---- strides and tables ------------------------------------------------------------

qvArray<int> qvArrayNDAbs::MkTabFromRange(const qvArray<int>& r, int firstTab) {
    const int dim = r.Len();
    if (dim == 0) throw BadParameters(qvMsg::MkTabFromRangeLengthZero);
    qvArray<int> t(dim);
    t[0] = firstTab;
    for (int d = 1; d < dim; ++d) t[d] = WrapMul(r[d - 1], t[d - 1]);
    return t;
}

qvArray<int> qvArrayNDAbs::MakeForTab(const qvArray<int>& r, const qvArray<int>& t) {
    const int dim = r.Len();
    if (t.Len() < dim) throw BadParameters(qvMsg::DifferentRange);
    qvArray<int> f;
    f.Init(dim);
    if (dim > 0) f[0] = t[0];
    if (dim > 1) f[1] = WrapSub(t[1], WrapMul(r[0], t[0]));
    for (int d = 2; d < dim; ++d) f[d] = WrapAdd(WrapSub(f[d - 1], WrapMul(r[d - 1], t[d - 1])), t[d]);
    return f;
}

void qvArrayNDAbs::MkTabFor4Link(const qvArray<int>& t, qvArray<int>& out) {
    const int dim = t.Len();
    const qvArray<int> strides(t);  // t may be out itself
    out.Init(2 * dim);
    for (int d = 0; d < dim; ++d) {
        out[2 * d] = strides[d];
        out[2 * d + 1] = WrapSub(0, strides[d]);
    }
}

void qvArrayNDAbs::MkTabFor8Link(const qvArray<int>& t, qvArray<int>& out) {
    const qvArray<int> strides(t);  // t may be out itself
    CubeOffsets(strides, out, false);
}

void qvArrayNDAbs::Rcurs2(const qvArray<int>& t, qvArray<int>& out) {
    const qvArray<int> strides(t);
    CubeOffsets(strides, out, true);
}

void qvArrayNDAbs::MkTabForAp(const qvArray<int>& t, const qvArray<int>& r, qvArray<int>& out) {
    const int dim = r.Len();
    if (dim == 0) throw BadParameters(qvMsg::ArrayLengthZero);
    if (t.Len() != dim) throw BadParameters(qvMsg::DifferentRange);
    const qvArray<int> strides(t), ext(r);  // either may be out itself
    const int cells = BoxCount(ext.GetPointer(), dim);
    out.Init(cells);
    int at = 0;
    WalkBox(ext, strides, 0, [&](int offset) { out[at++] = offset; });
}

void qvArrayNDAbs::MkTabForVertexLink(const qvArray<int>& t, qvArray<int>& out) {
    const qvArray<int> corners(t.Len(), 2);
    MkTabForAp(t, corners, out);
}

// ---- clipping ------------------------------------------------------------------

namespace {

// Outcode of a point against the box: 1 left of it, else 2 right of it;
// plus 8 below it, else 4 above it.
int OutCode(int x, int y, int xmax, int ymax) {
    int code = 0;
    if (x < 0) {
        code = 1;
    } else if (x > xmax) {
        code = 2;
    }
    if (y < 0) {
        code += 8;
    } else if (y > ymax) {
        code += 4;
    }
    return code;
}

// Conversion toward zero, saturated at the ends of int.
int Trunc(double v) {
    if (v >= 2147483647.0) return INT_MAX;
    if (v <= -2147483648.0) return INT_MIN;
    return static_cast<int>(v);
}

}  // namespace

int qvArrayNDAbs::GetLineWithin(qvArray<int>& p1, qvArray<int>& p2) const {
    if (p1.Len() != 2 || p2.Len() != 2 || range.Len() != 2) throw BadParameters(qvMsg::GetLineDimensionTwo);
    const int xmin = 0, ymin = 0;
    const int xmax = range[0] - 1, ymax = range[1] - 1;
    int x1 = p1[0], y1 = p1[1], x2 = p2[0], y2 = p2[1];
    enum { kGeneral, kHorizontal, kVertical } kind = kVertical;
    double m = 0.0;
    if (x1 != x2) {
        m = (static_cast<double>(y2) - y1) / (static_cast<double>(x2) - x1);
        kind = m == 0.0 ? kHorizontal : kGeneral;
    }
    bool exchanged = false;
    int result = 1;
    for (int moves = 0;; ++moves) {
        if (moves == 5) break;  // accepted as it stands
        int c1 = OutCode(x1, y1, xmax, ymax);
        int c2 = OutCode(x2, y2, xmax, ymax);
        if (c1 == 0 && c2 == 0) {
            if (exchanged) {
                std::swap(x1, x2);
                std::swap(y1, y2);
            }
            break;
        }
        if ((c1 & c2) != 0) {
            result = 0;
            break;
        }
        if (c1 == 0) {
            std::swap(x1, x2);
            std::swap(y1, y2);
            std::swap(c1, c2);
            exchanged = !exchanged;
        }
        if (kind == kVertical) {
            y1 = c1 >= 8 ? ymin : ymax;
        } else if (kind == kHorizontal) {
            x1 = (c1 & 1) != 0 ? xmin : xmax;
        } else if ((c1 & 1) != 0) {
            y1 += Trunc((xmin - x1) * m);
            x1 = xmin;
        } else if ((c1 & 2) != 0) {
            y1 += Trunc((xmax - x1) * m);
            x1 = xmax;
        } else if (c1 >= 8) {
            x1 += Trunc((ymin - y1) / m);
            y1 = ymin;
        } else {
            x1 += Trunc((ymax - y1) / m);
            y1 = ymax;
        }
    }
    p1[0] = x1;
    p1[1] = y1;
    p2[0] = x2;
    p2[1] = y2;
    return result;
}

// ---- turns ---------------------------------------------------------------------

void qvArrayNDAbs::Rotate90(int a, int b) {
    SwapAxis(a, b);
    Flip(b);
}

void qvArrayNDAbs::Rotate180(int a, int b) {
    Flip(a);
    Flip(b);
}
