// qvDetail::Rounded: a product the compiler may not fuse into the next add.
//
// The library evaluates floating-point expressions as written, every product
// rounded to double before it is added (the build turns contraction off).
// GCC 12 nevertheless rewrites the pair "a*b - c*d, e*f + g*h", the shape of
// a complex product or quotient, as one fused multiply-subtract-add vector
// instruction when the target has fused multiply-add (x86 with FMA or
// AVX-512), so one product of each pair escapes its rounding. Passing each
// product through Rounded hides it from that rewrite: the empty assembly
// statement makes the value opaque without emitting an instruction. Other
// compilers and targets never do this, and Rounded is the identity there.
#ifndef CQV_CORE_ROUNDING_H
#define CQV_CORE_ROUNDING_H

#if defined(__GNUC__) && !defined(__clang__) && (defined(__x86_64__) || defined(__i386__)) && \
    (defined(__FMA__) || defined(__FMA4__) || defined(__AVX512F__))
#define CQV_OPAQUE_PRODUCTS 1
#endif

namespace qvDetail {

// x itself, as a rounded double that no later addition fuses with.
inline double Rounded(double x) {
#ifdef CQV_OPAQUE_PRODUCTS
    __asm__("" : "+x"(x));
#endif
    return x;
}

}  // namespace qvDetail

#endif  // CQV_CORE_ROUNDING_H
