// Export marking for the cqvdll shared library.
//
// CQV_API marks every class, static member and free function of the public
// interface, and every explicit template instance the library provides. The
// library is compiled with hidden default visibility on ELF targets, so only
// what carries CQV_API is visible to clients. On Windows the macro expands to
// dllexport while the library itself is built and to dllimport for clients.
#ifndef CQV_CORE_EXPORT_H
#define CQV_CORE_EXPORT_H

#if defined(_WIN32) || defined(__CYGWIN__)
#  if defined(CQV_BUILDING_LIBRARY)
#    define CQV_API __declspec(dllexport)
#  else
#    define CQV_API __declspec(dllimport)
#  endif
#elif defined(__GNUC__) || defined(__clang__)
#  define CQV_API __attribute__((visibility("default")))
#else
#  define CQV_API
#endif

// CQV_INLINE marks a member function defined inside its class. Clients
// compile it inline as usual; the library also emits an out-of-line copy
// and exports it, so that the interface carries every member by name. MSVC
// and MinGW export the inline members of an exported class by themselves,
// but MinGW not those of an explicit template instance: there the macro
// exports each one (a client's vtable of a derived class names them, and an
// unoptimised client calls them). On ELF targets the `used` attribute makes
// the library's own compilation emit them, where they take the class's
// default visibility.
#if defined(CQV_BUILDING_LIBRARY) && !defined(_WIN32) && !defined(__CYGWIN__) && \
    (defined(__GNUC__) || defined(__clang__))
#  define CQV_INLINE __attribute__((used))
#elif defined(CQV_BUILDING_LIBRARY) && (defined(_WIN32) || defined(__CYGWIN__)) && defined(__GNUC__)
#  define CQV_INLINE __attribute__((dllexport))
#else
#  define CQV_INLINE
#endif

// Explicit template instances are declared `extern template` in the headers
// with CQV_EXTERN_TEMPLATE and defined inside the library with
// CQV_INSTANTIATE, so that every client uses the library's own instances.
// GCC and Clang take the export attribute from the declaration and refuse
// it on the definition; MSVC wants it on both.
#define CQV_EXTERN_TEMPLATE(...) extern template class CQV_API __VA_ARGS__;
#if defined(_MSC_VER)
#  define CQV_INSTANTIATE(...) template class CQV_API __VA_ARGS__;
#else
#  define CQV_INSTANTIATE(...) template class __VA_ARGS__;
#endif

#endif  // CQV_CORE_EXPORT_H
