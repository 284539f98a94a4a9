// The audio path of the equaliser: two channels through the enabled bands, then the output gain.
#pragma once

#include "engine/engine_state.h"
#include "engine/eq_band.h"

namespace corvalen {

// Filters frames samples of inputs[0..1] into outputs[0..1] (which may be the same buffers)
// through bands[0..11] as the state switches them, then applies the output gain. Frames <= 0
// writes and changes nothing. The caller holds the flush-to-zero guard.
//
// The result is bit for bit that of the frame-by-frame formula: each band's samples go through
// the same multiplications and additions in the same order. Only the schedule differs: the bands
// run staggered in vector registers as wide as the processor allows (engine/eq_bank_pipeline.h,
// engine/vector_path.h), and every width gives the same bits.
//
// Host audio thread, instance lock held. No allocation, no library calls: the output gain is
// the state's factor.
void ProcessEqBank(EqBand* bands, const EngineState& state, const double* const* inputs,
                   double* const* outputs, int frames);

}  // namespace corvalen
