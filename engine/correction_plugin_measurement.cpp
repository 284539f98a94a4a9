// Loading the headphone measurement without holding the instance lock over the file: the
// request is recorded under the lock (engine/correction_plugin_params.cpp), the file is read and
// resampled after the lock is released, and the lock is taken again only to put the finished
// curve and its status in place. The audio thread never waits for a file, and the editor's
// paint never waits for more than that copy.
#include <algorithm>
#include <cstring>

#include "engine/correction_plugin.h"
#include "engine/debug_trace.h"
#include "engine/file_access.h"
#include "engine/measurement_reader.h"

namespace corvalen {
namespace {

constexpr const char* kFileNotFound = "FILE NOT FOUND: ";
constexpr const char* kNoDataInFile = "NO DATA IN FILE: ";

// A status line naming a path, formed without allocating.
void ShowPathMessage(TextLink* link, const char* prefixText, const std::string& path) {
    if (link == nullptr) return;
    char message[kLinkTextCapacity];
    const std::size_t prefix = std::strlen(prefixText);
    std::memcpy(message, prefixText, prefix);
    const std::size_t room = sizeof message - 1 - prefix;
    const std::size_t count = path.size() < room ? path.size() : room;
    std::memcpy(message + prefix, path.data(), count);
    message[prefix + count] = '\0';
    // The link cuts an over-long text at a character boundary.
    link->setText(message);
}

}  // namespace

bool CorrectionPlugin::HasDeferredWork() const {
    return requestedLoad_.generation != installedLoad_;
}

// Several threads may run this at once (the host's worker restoring a chunk, the editor
// choosing a file): each reads the latest request, and only a result still the latest when it
// is finished is put in place, once. So a later load always wins, and every caller returns with
// the latest curve in place or being put in place by the caller that asked for it.
void CorrectionPlugin::RunDeferredWork() noexcept {
    MeasurementLoad load;
    try {
        DeferringLockScope hold(*Lock());
        if (!HasDeferredWork() || responseModel_ == nullptr) return;
        load = requestedLoad_;
    } catch (...) {
        return;  // no memory for the path: the load stays asked for, the next call tries again
    }
    // The grid is fixed at construction; nothing else here is shared.
    double curve[kGridPoints];
    const std::size_t points = ReadMeasurementCurve(
        load.path, load.separator, responseModel_->gridFrequencies(), kGridPoints, curve);
    const bool exists = !load.path.empty() && PathExists(load.path);

    DeferringLockScope hold(*Lock());
    if (requestedLoad_.generation != load.generation || installedLoad_ == load.generation) return;
    installedLoad_ = load.generation;
    if (load.showCurve) std::copy(curve, curve + kGridPoints, responseModel_->frCurve());
    MarkGraph();
    if (links_.statusText != nullptr && !load.path.empty()) {
        DebugTrace(
            exists ? "(si existe) en OnParamChange: [%s]" : "(si no existe) en OnParamChange: [%s]",
            load.path.c_str());
    }
    ShowMeasurementStatus(load.path, exists, points);
}

// Every reload says what came of it: nothing for no path or a file that gave a curve, else
// whether the file is missing or gave no usable line (a flat curve without a word would look
// like a perfect headphone).
void CorrectionPlugin::ShowMeasurementStatus(const std::string& path, bool exists,
                                             std::size_t points) {
    if (path.empty() || (exists && points > 0)) {
        if (links_.statusText != nullptr) links_.statusText->setText("");
    } else {
        ShowPathMessage(links_.statusText, exists ? kNoDataInFile : kFileNotFound, path);
    }
}

}  // namespace corvalen
