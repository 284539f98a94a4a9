// What a DAW does to two instances at once, for as long as a soak runs: the host's threads that
// are the same on every platform. The audio thread runs both audio callbacks on every instance
// and automates parameters from there; a worker thread saves and restores chunks, changes
// programs and loads measurements through the project's path. The editor thread (its input and
// its paints) is the platform's part: the window under Wine, the drawing host natively.
//
// Every thread does a fixed amount of work, set by the plan before any starts, paced to the
// soak's length; none waits for another to finish.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "tools/host/vst_host.h"

namespace corvalen::soak {

struct SoakPlan {
    double seconds = 0.0;
    double sampleRate = 48000.0;
    int blockFrames = 512;
    long audioBlocks = 0;  // real time: seconds x sample rate / block, per instance
    int workerRounds = 0;  // one every kWorkerPeriod
    int gestures = 0;      // one every kGesturePeriod, on the instances in turn

    static SoakPlan ForSeconds(double seconds);
};

// One drag or run of wheel notches on a band knob, in layout units.
struct SoakGesture {
    bool drag = false;
    int x = 0;  // the knob's centre
    int y = 0;
    int distance = 0;  // drag: layout units downwards (negative: upwards); wheel: notches
};

// Gesture number i: the band knobs in turn, drags and wheel runs alternating, up and down.
SoakGesture GestureNumber(int i);

// What the threads counted; read once they are done.
struct SoakTally {
    std::atomic<long> blocks{0};
    std::atomic<long> nonFiniteSamples{0};
    std::atomic<long> automatedValues{0};
    std::atomic<long> chunksChecked{0};
    std::atomic<long> chunksNotReloaded{0};  // refused, or saved again as other bytes
    std::atomic<long> programChanges{0};
    std::atomic<long> measurementLoads{0};
};

// The audio thread: plan.audioBlocks blocks of a two-tone signal into every instance,
// processReplacing and processDoubleReplacing in turn, a parameter automated on each block
// (and every 64th block the measurement asked for again), paced to real time.
void RunAudio(const std::vector<host::VstHost*>& instances, const SoakPlan& plan, SoakTally& tally);

// The worker thread: plan.workerRounds rounds over the instances, each either saving a
// program or a bank (checked: the checker instance takes it and saves it again as the same
// bytes) and restoring it, changing the program, or restoring a program that names one of the
// measurement paths in turn.
void RunWorker(const std::vector<host::VstHost*>& instances, host::VstHost& checker,
               const std::vector<std::string>& measurementPaths, const SoakPlan& plan,
               SoakTally& tally);

// The chunk an instance hands a host now; empty when it gives none.
std::vector<unsigned char> SavedChunk(host::VstHost& instance, bool bank);

}  // namespace corvalen::soak
