#pragma once
// Program names at the host boundary. The bank keeps its names as 8-bit
// Windows-1252 bytes on every system; what the host reads and writes follows
// the system's own convention: the same bytes for Windows hosts, UTF-8 for
// Linux hosts. Both directions stay within the fields they are given.

#include <cstddef>

// Longest text a host may hand us in a text request; longer texts are cut.
constexpr std::size_t kHostTextLimit = 4096;

// Writes the stored name into the host's field of fieldSize bytes.
void ProgramNameToHost(char* field, std::size_t fieldSize, const char* name);

// Writes the host's text (read with a bound) into a stored name of nameSize bytes.
void ProgramNameFromHost(char* name, std::size_t nameSize, const char* hostText);
