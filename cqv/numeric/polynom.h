// qvPolynom<E>: a polynomial in one variable, evaluated with its derivatives
// of any order straight from its coefficients.
//
// The polynomial is a column vector of L coefficients, highest order first,
// with an offset x0 and a coefficient form. With t = x - x0 and D = L - 1:
//
//   KoefPower:  p(x) = c[0]·t^D + c[1]·t^(D-1) + … + c[D]
//   KoefTaylor: p(x) = c[0]·t^D/D! + c[1]·t^(D-1)/(D-1)! + … + c[D],
//               so c[j] is the (D-j)-th derivative of p at x0.
//
// Like every vector, a polynomial built from a vector or copied from another
// polynomial shares its coefficients; assignment and SetKoef copy them into
// the polynomial's own storage.
//
// The only instance is qvPolynom<double>; simple arrays of it exist too.
//
// Allocation failure throws qvErrNoMemory.
#ifndef CQV_NUMERIC_POLYNOM_H
#define CQV_NUMERIC_POLYNOM_H

#include <cstdint>

#include "cqv/arrays/simple_array.h"
#include "cqv/core/export.h"
#include "cqv/linalg/vector.h"

// A polynomial in one variable: its coefficients, highest order first, an
// offset x0 and a coefficient form.
template <class E>
class qvPolynom : public qvColumnVector<E> {
public:
    // The coefficient form; any other stored value makes evaluation throw.
    enum KoefType : std::int32_t { KoefPower = 0, KoefTaylor = 1 };

    // No coefficients. The form and offset are not meaningful until set
    // (they start as KoefPower and 0).
    qvPolynom() : koefType(KoefPower), x0(0) {}
    // n uninitialised coefficients in a fresh block. Throws BadParameters
    // "qvNewWithRef : n <= 0 " (with the trailing blank) when n is below 1.
    // The form and offset are not meaningful until set.
    explicit qvPolynom(int n) : qvColumnVector<E>(n), koefType(KoefPower), x0(0) {}
    // Shares c's coefficients, with the given offset and form.
    qvPolynom(const qvColumnVector<E>& c, E offset, KoefType k) : qvColumnVector<E>(c), koefType(k), x0(offset) {}
    // Shares p's coefficients; copies its form and offset.
    qvPolynom(const qvPolynom& p) : qvColumnVector<E>(p), koefType(p.koefType), x0(p.x0) {}
    // Releases the held block.
    CQV_INLINE ~qvPolynom() noexcept override {}

    // Copies p's coefficients into this polynomial's storage (a fresh
    // contiguous block when the lengths differ, else the present one), and
    // its form and offset.
    qvPolynom& operator=(const qvPolynom& p);
    // As assignment from a polynomial with coefficients c and the given
    // offset and form.
    void SetKoef(const qvColumnVector<E>& c, E offset, KoefType k);

    // The coefficient form.
    KoefType GetKoefType() const { return koefType; }
    // The offset x0.
    E GetX0() const { return x0; }

    // p(x). Throws BadParameters "qvPolynom : wrong KoefType" when the
    // stored form is neither KoefPower nor KoefTaylor (as read from a
    // record, for instance).
    E operator()(E x) const;
    // The k-th derivative at x; 0 for k at or above the number of
    // coefficients. A negative k counts as 0. Throws BadParameters
    // "qvPolynom : wrong KoefType" as operator() does.
    E Derivative(E x, int k) const;

private:
    KoefType koefType;
    E x0;

    // Sets the offset and form of many polynomials at once
    // (cqv/numeric/window_arrays_internal.h).
    friend struct qvDetail::VectorWindows;
};

// The coefficient types of the polynomial, for the declarations here and the
// instances in polynom.cpp; arrays of polynomials exist for each.
#define CQV_FOR_EACH_POLYNOM_TYPE(X) X(double)
#define CQV_DECLARE_POLYNOM(T) CQV_EXTERN_TEMPLATE(qvPolynom<T>) CQV_EXTERN_TEMPLATE(qvSimpleArray<qvPolynom<T>>)
CQV_FOR_EACH_POLYNOM_TYPE(CQV_DECLARE_POLYNOM)
#undef CQV_DECLARE_POLYNOM

#endif  // CQV_NUMERIC_POLYNOM_H
