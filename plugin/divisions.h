#pragma once
// Note divisions of the tempo-locked LFO rate: the length of each of the 31
// divisions in whole notes (four beats). No OS calls.

constexpr int kDivisionCount = 31;

// Length of division index (0 to 30) computed in double precision and narrowed:
// the rate a synced LFO runs at.
float DivisionLength(int index);

// The same length computed in single precision throughout: the scale on which
// the nearest division to a free rate is chosen.
float DivisionLengthSingle(int index);
