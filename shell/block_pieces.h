// Hosts may send a block longer than they announced; the frame processes it in pieces no
// longer than the scratch buffers.
#pragma once

#include <algorithm>
#include <cstdint>

namespace corvalen {

// Calls piece(offset, count) for consecutive pieces of at most pieceSize frames covering
// 0..frames-1, in order. Nothing for frames <= 0 or pieceSize <= 0. The running offset never
// passes `frames`, so even a block of INT32_MAX frames cannot overflow it.
template <typename Piece>
void ForEachPiece(int32_t frames, int32_t pieceSize, Piece&& piece) {
    if (frames <= 0 || pieceSize <= 0) return;
    for (int32_t done = 0; done < frames;) {
        const int32_t count = std::min(pieceSize, frames - done);
        piece(done, count);
        done += count;
    }
}

}  // namespace corvalen
