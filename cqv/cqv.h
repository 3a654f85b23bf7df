// The whole public interface of the cqv library. Every failed check throws
// BadParameters, with the text each member names; allocation failure
// anywhere throws qvErrNoMemory.
#ifndef CQV_CQV_H
#define CQV_CQV_H

#include "cqv/core/allocator.h"
#include "cqv/core/counted_block.h"
#include "cqv/core/exceptions.h"
#include "cqv/core/export.h"
#include "cqv/core/messages.h"
#include "cqv/core/parray.h"
#include "cqv/core/record.h"
#include "cqv/core/rounding.h"
#include "cqv/core/type_traits.h"
#include "cqv/core/using_new.h"

#include "cqv/values/complex.h"
#include "cqv/values/vec2.h"
#include "cqv/values/vec3.h"
#include "cqv/values/matrix2x2.h"
#include "cqv/values/matrix3x3.h"
#include "cqv/values/messages.h"

#include "cqv/arrays/simple_array.h"
#include "cqv/arrays/array.h"
#include "cqv/arrays/simple_array_2d.h"
#include "cqv/arrays/string.h"
#include "cqv/arrays/client_errors.h"
#include "cqv/arrays/messages.h"

#include "cqv/linalg/lu_decomposition.h"
#include "cqv/linalg/matrix.h"
#include "cqv/linalg/vector.h"
#include "cqv/linalg/messages.h"

#include "cqv/ndarray/array_nd.h"
#include "cqv/ndarray/array_nd_abs.h"
#include "cqv/ndarray/messages.h"
#include "cqv/ndarray/round_array_nd.h"

#include "cqv/numeric/band_lu.h"
#include "cqv/numeric/fast_transform.h"
#include "cqv/numeric/find_extremum.h"
#include "cqv/numeric/integrate.h"
#include "cqv/numeric/polynom.h"
#include "cqv/numeric/random.h"
#include "cqv/numeric/tridiagonal.h"
#include "cqv/numeric/messages.h"

#include "cqv/geometry/contour.h"
#include "cqv/geometry/messages.h"
#include "cqv/geometry/primitives.h"
#include "cqv/geometry/rect.h"
#include "cqv/geometry/transform.h"

#include "cqv/splines/messages.h"
#include "cqv/splines/spline.h"
#include "cqv/splines/spline_curve.h"

#include "cqv/betaspline/beta_spline.h"
#include "cqv/betaspline/beta_curve.h"
#include "cqv/betaspline/beta_contour.h"
#include "cqv/betaspline/beta_tube.h"
#include "cqv/betaspline/messages.h"

#include "cqv/graph/auto_del_pointer.h"
#include "cqv/graph/graph.h"
#include "cqv/graph/lists.h"
#include "cqv/graph/messages.h"

#endif  // CQV_CQV_H
