// The AVX batches of the step's sines, in a file of its own built for AVX:
// only called when the processor has it.
#pragma once

namespace vorlund {

void stepTrigAvx4(double a0, double a1, double a2, double a3, double* c, double* s);
// `count` angles from memory, four at a time; count is a multiple of 4.
void stepTrigAvxMany(const double* a, int count, double* c, double* s);

}  // namespace vorlund
