#include "cqv/core/counted_block.h"

void qvIncMemRef(void* p) {
    if (qvDetail::BlockSizeWord(p) >= 0) throw BadParameters(qvMsg::IncMemRefNotCounted);
    ++qvDetail::BlockCountWord(p);
}

void qvDecMemRef(void* p) {
    if (qvDetail::BlockSizeWord(p) >= 0) throw BadParameters(qvMsg::DecMemRefNotCounted);
    if (--qvDetail::BlockCountWord(p) < 1) throw BadParameters(qvMsg::DecMemRefLastReference);
}

int& qvGetMemRef(void* p) {
    if (qvDetail::BlockSizeWord(p) >= 0) throw BadParameters(qvMsg::IncMemRefNotCounted);
    return qvDetail::BlockCountWord(p);
}
