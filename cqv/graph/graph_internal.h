// The graph's own branch iterator. Library-private.
#ifndef CQV_GRAPH_GRAPH_INTERNAL_H
#define CQV_GRAPH_GRAPH_INTERNAL_H

#include "cqv/graph/messages.h"
#include "cqv/graph/graph.h"

// The branch iterator of the wave: qvNodeBranchIter under its own name and
// out-of-range text.
class qvNBIter : public qvNodeBranchIter {
public:
    explicit qvNBIter(qvSimpleGraphNodeHead* n) : qvNodeBranchIter(n, qvMsg::NBIterOutOfRange) {}
};

#endif  // CQV_GRAPH_GRAPH_INTERNAL_H
