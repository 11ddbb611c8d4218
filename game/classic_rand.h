// The classic C run-time pseudo-random sequence, written out in our code.
//
// Tree counts, tree positions and log directions and speeds come from this
// generator. It is our own rather than the host library's `rand` so that the
// same trees and logs appear on every platform, and it is never seeded by the
// game: every run starts from state 1 (first values 41, 18467, 6334, 26500).
// One generator for the whole process, like the library function it mirrors.
#pragma once

// Next value, 0 ... 32767: state = state * 214013 + 2531011 (mod 2^32),
// returning bits 16 to 30 of the new state.
int classicRand();

// Puts the generator back to its start-up state (state 1): for tests and
// benchmarks, and for a new run in the same process (the page's replays).
void resetClassicRand();
