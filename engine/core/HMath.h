#ifndef HMATH_H
#define HMATH_H

#include <stdint.h>

// Scalar helpers of the math library: square roots, angle conversion and
// trigonometry in degrees. Single precision at the interface; the work may be
// done wider and rounded when the result is stored.

// The float nearest to pi.
const float             H_PI = 3.1415927f;

double                  squareRoot(double x);           // extended precision inside
float                   squareRootF(float x);
float                   fastInverseSqrt(float x);       // about 1e-6 relative error after two Newton steps

float                   degreesToRadians(float fDegrees);
float                   radiansToDegrees(float fRadians);

float                   sinDegrees(float fDegrees);
float                   cosDegrees(float fDegrees);

// Mantissa table of float square roots, kept for code that wants a table
// lookup: entries 32768 + i cover 1..2, entries i cover 2..4 (i = the top 15
// mantissa bits). Filled during static construction; the functions above
// compute directly and never read it.
const int               H_SQRT_TABLE_HALF = 32768;
const uint32_t *        getSquareRootTable();

#endif // HMATH_H
