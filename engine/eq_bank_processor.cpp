#include "engine/eq_bank_processor.h"

#include <cmath>

#include "engine/eq_bank_kernels.h"
#include "engine/vector_path.h"

namespace corvalen {

void ProcessEqBank(EqBand* bands, const EngineState& state, const double* const* inputs,
                   double* const* outputs, int frames) {
    if (frames <= 0) return;
    BankJob job;
    job.bands = bands;
    job.in[0] = inputs[0];
    job.in[1] = inputs[1];
    job.out[0] = outputs[0];
    job.out[1] = outputs[1];
    job.frames = frames;
    job.gain = state.outputGainFactor;

    int order[kBandCount];
    if (state.bypass == 0) {
        for (int k = 0; k < kBandCount; ++k) {
            if (state.bandEnabled[k] != 0) order[job.count++] = k;
        }
    }
    job.order = order;
    if (job.count == 0) {
        for (int n = 0; n < frames; ++n) {
            job.out[0][n] = job.gain * job.in[0][n];
            job.out[1][n] = job.gain * job.in[1][n];
        }
        return;
    }
    switch (ActiveVectorPath()) {
        case VectorPath::kAvx512: FilterBankAvx512(job); return;
        case VectorPath::kAvx2: FilterBankAvx2(job); return;
        case VectorPath::kSse2: break;
    }
    FilterBankSse2(job);
}

}  // namespace corvalen
