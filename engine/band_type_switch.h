// What the two type switches mean for the bands they shape. The audio path, the tests and the
// test host's reference all read the switches through these.
#pragma once

#include "engine/eq_band.h"

namespace corvalen {

// Band 1 is a peak at 0 and a low shelf at 1.
inline BandType Band1Type(double value) { return value >= 0.5 ? kLowShelf : kPeak; }

// Band 12 is a high shelf at 0 and a peak at 1, the reverse of band 1's order: stored
// settings carry the raw switch value, and projects have always been saved that way.
inline BandType Band12Type(double value) { return value >= 0.5 ? kPeak : kHighShelf; }

// The switch values that give a type (the inverse of the two above, for whoever sets the
// switches from a wanted type): band 1 at 1 for a low shelf, band 12 at 1 for a peak.
inline double Band1Switch(BandType type) { return type == kLowShelf ? 1.0 : 0.0; }
inline double Band12Switch(BandType type) { return type == kPeak ? 1.0 : 0.0; }

}  // namespace corvalen
