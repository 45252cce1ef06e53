#pragma once
// The channel model: configurations parsed from the channel string, and one
// record per input and output with its scratch buffer of doubles.

#include "core/state_buffer.h"

struct ChannelIOConfig {
    int inputs = 0;
    int outputs = 0;
};

struct InputChannel {
    bool connected = false;
    int slot = 0;              // index into the input sample-pointer array
    StateBuffer scratch{4096}; // converted input; what a disconnected input reads
    double* Samples() { return reinterpret_cast<double*>(scratch.Data()); }
};

struct OutputChannel {
    bool connected = false;
    int slot = 0;                // index into the output sample-pointer array
    float* hostOutput = nullptr; // the host's buffer of the current single-precision block
    StateBuffer scratch{4096};
    double* Samples() { return reinterpret_cast<double*>(scratch.Data()); }
};

struct MidiMessage {
    int offset = 0;
    unsigned char status = 0;
    unsigned char data1 = 0;
    unsigned char data2 = 0;
};

struct SysExMessage {
    int offset = 0;
    int size = 0;
    const unsigned char* data = nullptr;
};
