// Where a user finds things in the editor at 96 dpi (window pixels, half the layout units),
// and the host's numbers of the parameters behind them.
#pragma once

#include <windows.h>

namespace corvalen::gui {

// Parameter indices as the host numbers them.
constexpr int kBand1Switch = 0;
constexpr int kBand1Frequency = 18;
constexpr int kBand1Gain = 19;
constexpr int kBand2Gain = 22;
constexpr int kBand6Gain = 34;
constexpr int kReferenceLevel = 56;  // 0 .. 120 dB

// Centres, in window pixels: band 1's switch (layout 54..142 x 646..682), band 1's frequency
// and gain knobs (62..134 x 686..758 and 790..862), band 2's gain knob (176..248 x 790..862),
// the measurement file button (1428..1542 x 916..956), and a spot of the graph.
constexpr POINT kBand1SwitchAt{49, 332};
constexpr POINT kBand1FrequencyAt{49, 361};
constexpr POINT kBand1GainAt{49, 413};
constexpr POINT kBand2GainAt{106, 413};
constexpr POINT kFileButtonAt{742, 468};
constexpr POINT kGraphAt{300, 100};

}  // namespace corvalen::gui
