#ifndef FOURIERTRANSFORM_H
#define FOURIERTRANSFORM_H

// Amplitude spectrum of a real series of N points (N a power of two): out[k] = 2·|X(k+1)|/N for
// k = 0 … count−1, X being the discrete Fourier transform with the kernel e^(−2πi·f·t/N). The constant
// term is never part of the output; entry N/2 − 1 is the Nyquist bin. Callers pass count = N/2; a count
// beyond N − 1 is cut there, and a bad N or null pointer writes nothing.
void calculateFourierAmplitude(const double* in, double* out, int N, int count);

// The power of two at or below n that the transform accepts: 2 for n < 4, the largest power of two not
// above n up to 1048576, and 524288 for anything larger.
int getPowerOfTwoBelow(int n);

#endif // FOURIERTRANSFORM_H
