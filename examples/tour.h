// Shared pieces of the tour: each subsystem's section lives in a file of its
// own (tour_<subsystem>.cpp) and is called, in order, from tour.cpp.
#ifndef CQV_EXAMPLES_TOUR_H
#define CQV_EXAMPLES_TOUR_H

#include <string>

// Prints a section heading.
void Section(const char* title);

// Where the tour writes its pictures: the folder named by the environment
// variable CQV_TOUR_OUT when set, else the current folder. Returns the full
// path of the file name given.
std::string TourOutputPath(const char* file_name);

// The N-dimensional arrays section (tour_ndarray.cpp).
void NDimensionalArrays();

// The geometry section (tour_geometry.cpp).
void Geometry();

// The accurate solvers, LU factorisations with partial pivoting
// (tour_linalg_accurate.cpp).
void AccurateSolvers();

// The section on splines, spline curves and the extremum search
// (tour_splines.cpp).
void Splines();
// Beta-spline curves, closed curves and tubes (tour_betaspline.cpp).
void BetaSplines();

#endif  // CQV_EXAMPLES_TOUR_H
