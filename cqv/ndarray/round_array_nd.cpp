#include "cqv/ndarray/round_array_nd.h"

#include "cqv/core/exceptions.h"
#include "cqv/ndarray/messages.h"
#include "cqv/ndarray/odometer_internal.h"

namespace {

// The strides must match the extents one for one, and there must be some.
void RequireStridesFor(int extents, const qvArray<int>& tab) {
    if (tab.Len() != extents) throw BadParameters(qvMsg::DifferentRange);
    if (extents == 0) throw BadParameters(qvMsg::ArrayLengthZero);
}

}  // namespace

qvRoundArrayND::qvRoundArrayND(const qvArrayNDAbs& a)
    : qvArray<int>(a.GetDim(), 0), range(&a.Range()), tab(&a.Tab()), pos(0) {}

qvRoundArrayND::qvRoundArrayND(const qvArray<int>& r, const qvArray<int>& t)
    : qvArray<int>(r.Len(), 0), range(&r), tab(&t), pos(0) {}

qvRoundArrayND::qvRoundArrayND(const qvRoundArrayND& c) : qvArray<int>(c), range(c.range), tab(c.tab), pos(c.pos) {}

qvRoundArrayND& qvRoundArrayND::operator=(const qvRoundArrayND& c) {
    qvArray<int>::operator=(c);
    range = c.range;
    tab = c.tab;
    pos = c.pos;
    return *this;
}

qvRoundArrayND::~qvRoundArrayND() = default;

void qvRoundArrayND::ToBegin() {
    Fill(0);
    pos = 0;
}

void qvRoundArrayND::ToEnd() {
    const int dim = range->Len();
    RequireStridesFor(dim, *tab);
    Init(dim);
    int at = 0;
    for (int d = 0; d < dim; ++d) {
        data[d] = (*range)[d] - 1;
        at = qvDetail::WrapAdd(at, qvDetail::WrapMul(data[d], (*tab)[d]));
    }
    pos = at;
}

void qvRoundArrayND::SetPos(qvArray<int>& idx) {
    const int dim = idx.Len();
    for (int d = 0; d < dim; ++d)
        if (idx[d] < 0) throw BadParameters(qvMsg::RoundArrayNDOutOfRange);
    if (dim != range->Len()) throw BadParameters(qvMsg::DifferentRange);
    for (int d = 0; d < dim; ++d)
        if (idx[d] >= (*range)[d]) throw BadParameters(qvMsg::RoundArrayNDOutOfRange);
    RequireStridesFor(dim, *tab);
    int at = 0;
    for (int d = 0; d < dim; ++d) at = qvDetail::WrapAdd(at, qvDetail::WrapMul(idx[d], (*tab)[d]));
    qvArray<int>::operator=(idx);
    pos = at;
}

int qvRoundArrayND::operator++() {
    const int* r = range->GetPointer();
    const int* t = tab->GetPointer();
    for (int d = 0; d < len; ++d) {
        pos += t[d];
        if (++data[d] < r[d]) return 1;
        data[d] = 0;
        pos -= r[d] * t[d];
    }
    return 0;
}

int qvRoundArrayND::operator--() {
    const int* r = range->GetPointer();
    const int* t = tab->GetPointer();
    int d = 0;
    for (; d < len && data[d] < 1; ++d) {
        data[d] = r[d] - 1;
        pos += data[d] * t[d];
    }
    if (d == len) return 0;
    --data[d];
    pos -= t[d];
    return 1;
}
