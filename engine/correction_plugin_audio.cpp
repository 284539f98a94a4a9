// The plug-in's audio hooks: the equaliser's block processing, the sample rate and reset.
#include <cmath>

#include "engine/correction_plugin.h"
#include "engine/eq_bank_processor.h"
#include "engine/flush_to_zero_guard.h"
#include "engine/readout_text.h"

namespace corvalen {

// Host audio thread, instance lock held; only once the host has given a rate and a block size.
void CorrectionPlugin::ProcessEqualiser(double** inputs, double** outputs, int32_t frames) {
    if (responseModel_ == nullptr) {  // construction has not finished; cannot happen via the host
        PassThrough(inputs, outputs, frames);
        return;
    }
    FlushToZeroGuard guard;
    ProcessEqBank(responseModel_->bands(), engine_, inputs, outputs, frames);
}

void CorrectionPlugin::SetSampleRate(double rate) {
    PluginBase::SetSampleRate(rate);
    if (responseModel_ != nullptr) {
        for (int k = 1; k <= kBandCount; ++k) {
            EqBand& band = responseModel_->band(k);
            band.sampleRate = rate;
            band.recompute();
        }
    }
    sampleRateText_ = SampleRateReadoutText(rate);
    if (links_.sampleRateReadout != nullptr)
        links_.sampleRateReadout->setText(sampleRateText_.text);
}

void CorrectionPlugin::Reset() {}

}  // namespace corvalen
