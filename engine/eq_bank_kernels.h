// The equaliser's filter kernels, one per vector width, each in a file of its own compiled for
// that instruction set. Only the processor entry (eq_bank_processor.cpp) calls them, and only
// the one the processor can run.
#pragma once

#include "engine/eq_band.h"

namespace corvalen {

// One block through the enabled bands.
struct BankJob {
    EqBand* bands = nullptr;
    const int* order = nullptr;  // indices of the enabled bands, first to last
    int count = 0;               // how many, 1 or more
    const double* in[2] = {};
    double* out[2] = {};  // may be the input buffers
    int frames = 0;       // 1 or more
    double gain = 1.0;    // output gain factor
};

void FilterBankSse2(const BankJob& job);
void FilterBankAvx2(const BankJob& job);
void FilterBankAvx512(const BankJob& job);

}  // namespace corvalen
